// Temporary file, sync, rename: rename replaces an existing file as one step on both Windows
// and POSIX systems.
#include "records/atomic_file.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <string_view>
#include <system_error>

namespace tarvenix {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view temporary_mark = ".tmp";

bool is_temporary_of(const std::string& name, const std::string& target_name) {
  if (name.size() <= target_name.size() + temporary_mark.size()) return false;
  if (name.compare(0, target_name.size(), target_name) != 0) return false;
  const std::string_view rest = std::string_view(name).substr(target_name.size());
  return rest.starts_with(temporary_mark) &&
         rest.find_first_not_of("0123456789", temporary_mark.size()) == std::string_view::npos;
}

}  // namespace

std::string temporary_path_beside(const std::string& target) {
  std::random_device device;
  const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
  std::mt19937_64 random(device() ^ static_cast<uint64_t>(tick));
  return target + std::string(temporary_mark) + std::to_string(random() % 1000000000);
}

void remove_temporaries(const std::string& target, const std::string& except) {
  const fs::path target_path(target);
  const std::string target_name = target_path.filename().string();
  const std::string kept = fs::path(except).filename().string();
  fs::path folder = target_path.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code ec;
  for (fs::directory_iterator entry(folder, ec), end; !ec && entry != end; entry.increment(ec)) {
    const std::string name = entry->path().filename().string();
    if (!is_temporary_of(name, target_name) || name == kept) continue;
    if (entry->is_regular_file(ec)) fs::remove(entry->path(), ec);
    ec.clear();
  }
}

AtomicFile::~AtomicFile() {
  abandon();
}

bool AtomicFile::open(const std::string& target, FileSink::Mode mode) {
  abandon();
  replace_failed_ = false;
  target_ = target;
  temporary_ = temporary_path_beside(target);
  created_ = file_.open(temporary_, mode);
  if (!created_) error_ = file_.error();
  return created_;
}

bool AtomicFile::write(const char* data, size_t size) {
  if (file_.write(data, size)) return true;
  error_ = file_.error();
  return false;
}

bool AtomicFile::sync() {
  if (file_.sync()) return true;
  error_ = file_.error();
  return false;
}

bool AtomicFile::close() {
  if (!file_.is_open() || file_.finish()) return true;
  error_ = file_.error();
  return false;
}

bool AtomicFile::commit() {
  if (!created_) return false;
  if (!close()) {
    abandon();
    return false;
  }
  std::error_code ec;
  fs::rename(temporary_, target_, ec);
  if (ec) {
    error_ = ec.message();
    replace_failed_ = true;
    abandon();
    return false;
  }
  created_ = false;
  return true;
}

void AtomicFile::abandon() {
  if (!created_) return;
  if (file_.is_open()) file_.finish();
  std::error_code ignored;
  fs::remove(temporary_, ignored);
  created_ = false;
}

Result<> replace_file(const std::string& path, const std::function<Result<>(Sink&)>& write) {
  AtomicFile file;
  if (!file.open(path)) return Failure{"can't write the file: " + file.error()};
  const Result<> written = write(file);
  if (!written.ok()) {
    if (!file.error().empty()) return Failure{"can't write the file: " + file.error()};
    return written;
  }
  if (!file.commit()) {
    return Failure{(file.replace_failed() ? "can't replace the file: " : "can't write the file: ") +
                   file.error()};
  }
  return {};
}

}  // namespace tarvenix
