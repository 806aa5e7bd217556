// A run log the test reads back from its temporary file, which goes with the log.
#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "records/run_log.h"

namespace tarvenix::testing {

inline std::filesystem::path temp_file_path(const std::string& stem) {
  static std::mt19937_64 random(
      std::random_device{}() ^
      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  return std::filesystem::temp_directory_path() / (stem + "-" + std::to_string(random()) + ".tmp");
}

inline std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class LogCapture {
 public:
  LogCapture() : LogCapture(own_log_) {}
  // Captures a log that another object (a run) owns.
  explicit LogCapture(RunLog& target) : log(target), path_(temp_file_path("tarvenix-log")) {
    log.open(path_.string());
  }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  // Everything written so far, with "\n" as written by text mode (CR LF on Windows turned
  // back into LF, so the expectations read the same on both systems).
  std::string text() {
    log.sync();
    std::string out = read_file(log.temporary_path());
    for (size_t at = 0; (at = out.find("\r\n", at)) != std::string::npos;) out.erase(at, 1);
    return out;
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  RunLog own_log_;

 public:
  RunLog& log;

 private:
  std::filesystem::path path_;
};

}  // namespace tarvenix::testing
