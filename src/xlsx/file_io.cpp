// Reading and atomically replacing files through std::filesystem (rename replaces an existing
// file on both Windows and POSIX systems).
#include "xlsx/file_io.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

namespace tarvenix::xlsx {

namespace fs = std::filesystem;

namespace {

// A name that no other save running at the same time picks.
fs::path temporary_beside(const fs::path& target) {
  std::random_device device;
  const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
  std::mt19937_64 random(device() ^ static_cast<uint64_t>(tick));
  fs::path temporary = target;
  temporary += ".tmp" + std::to_string(random() % 1000000000);
  return temporary;
}

}  // namespace

bool read_file(const std::string& path, size_t max_size, std::string& bytes, std::string& error) {
  const fs::path file(path);
  std::error_code ec;
  if (!fs::exists(file, ec)) {
    error = ec ? "can't read the file: " + ec.message() : "file not found";
    return false;
  }
  const auto size = fs::file_size(file, ec);
  if (ec) {
    error = "can't read the file: " + ec.message();
    return false;
  }
  if (size > max_size) {
    error = "file too large";
    return false;
  }
  std::ifstream in(file, std::ios::binary);
  bytes.assign(static_cast<size_t>(size), '\0');
  if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(size))) {
    error = "can't read the file";
    return false;
  }
  return true;
}

bool replace_file(const std::string& path, const std::function<bool(Sink&, std::string&)>& write,
                  std::string& error) {
  const fs::path target(path);
  const fs::path temporary = temporary_beside(target);
  FileSink sink;
  if (!sink.open(temporary)) {
    error = "can't write the file: " + sink.error();
    return false;
  }
  bool ok = write(sink, error);
  if (!ok && !sink.error().empty()) error = "can't write the file: " + sink.error();
  if (ok && !sink.close()) {
    error = "can't write the file: " + sink.error();
    ok = false;
  }
  std::error_code ec;
  if (ok) {
    fs::rename(temporary, target, ec);
    if (ec) error = "can't replace the file: " + ec.message();
    ok = !ec;
  }
  if (!ok) {
    sink.close();
    fs::remove(temporary, ec);
  }
  return ok;
}

}  // namespace tarvenix::xlsx
