// Temporary file, sync, rename: rename replaces an existing file as one step on both Windows
// and POSIX systems.
#include "records/atomic_file.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <system_error>

namespace tarvenix {

namespace {

// A name that no other save running at the same time picks.
std::string temporary_beside(const std::string& target) {
  std::random_device device;
  const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
  std::mt19937_64 random(device() ^ static_cast<uint64_t>(tick));
  return target + ".tmp" + std::to_string(random() % 1000000000);
}

}  // namespace

AtomicFile::~AtomicFile() {
  abandon();
}

bool AtomicFile::open(const std::string& target) {
  abandon();
  replace_failed_ = false;
  target_ = target;
  temporary_ = temporary_beside(target);
  if (file_.open(temporary_)) return true;
  error_ = file_.error();
  temporary_.clear();
  return false;
}

bool AtomicFile::write(const char* data, size_t size) {
  if (file_.write(data, size)) return true;
  error_ = file_.error();
  return false;
}

bool AtomicFile::commit() {
  if (!file_.is_open()) return false;
  if (!file_.finish()) {
    error_ = file_.error();
    abandon();
    return false;
  }
  std::error_code ec;
  std::filesystem::rename(temporary_, target_, ec);
  if (ec) {
    error_ = ec.message();
    replace_failed_ = true;
    abandon();
    return false;
  }
  temporary_.clear();
  return true;
}

void AtomicFile::abandon() {
  if (temporary_.empty()) return;
  if (file_.is_open()) file_.finish();
  std::error_code ignored;
  std::filesystem::remove(temporary_, ignored);
  temporary_.clear();
}

bool replace_file(const std::string& path, const std::function<bool(Sink&, std::string&)>& write,
                  std::string& error) {
  AtomicFile file;
  if (!file.open(path)) {
    error = "can't write the file: " + file.error();
    return false;
  }
  if (!write(file, error)) {
    if (!file.error().empty()) error = "can't write the file: " + file.error();
    return false;
  }
  if (!file.commit()) {
    error = (file.replace_failed() ? "can't replace the file: " : "can't write the file: ") +
            file.error();
    return false;
  }
  return true;
}

}  // namespace tarvenix
