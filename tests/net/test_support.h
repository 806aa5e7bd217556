// Helpers of the network tests: the loopback test server, captured failures, and scratch
// folders.
#pragma once

#include <doctest/doctest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "net/fetch.h"
#include "net/web_endpoints.h"
#include "support/log_capture.h"

namespace tarvenix::test {

using tarvenix::testing::read_file;

// 127.0.0.1 on a port handed over by http_test_server.py (which CTest runs the program
// through): TARVENIX_TEST_HTTP_PORT (the test server), _CLOSED_PORT (nothing listens) or
// _STALLED_PORT (a connect never completes).
inline WebServer loopback_server(const char* port_variable = "TARVENIX_TEST_HTTP_PORT") {
  const char* port = std::getenv(port_variable);
  REQUIRE_MESSAGE(port, std::string(port_variable), " unset: run via http_test_server.py");
  return WebServer{false, "127.0.0.1", uint16_t(std::atoi(port))};
}

// A network whose failures are recorded instead of shown. Not to be copied: the teller
// points at this one.
struct CapturedErrors {
  struct Shown {
    std::string caption, text;
  };
  std::vector<Shown> shown;
  Network network{.tell = [this](std::string_view caption, std::string_view text) {
    shown.push_back({std::string(caption), std::string(text)});
  }};
};

// A new empty folder under the system's temporary folder, removed with everything in it.
struct ScratchFolder {
  std::filesystem::path path = tarvenix::testing::temp_file_path("tarvenix-net");
  ScratchFolder() { std::filesystem::create_directories(path); }
  std::error_code ignored;  // a failed removal is no failure of the test
  ~ScratchFolder() { std::filesystem::remove_all(path, ignored); }
  std::string file(const std::string& name) const { return (path / name).string(); }
};

inline size_t count_files(const std::filesystem::path& folder) {
  using std::filesystem::directory_iterator;
  return size_t(std::distance(directory_iterator(folder), directory_iterator()));
}

inline void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The bytes the test server sends for /bytes/N: i % 251.
inline std::string server_pattern(size_t size) {
  std::string bytes;
  for (size_t i = 0; i < size; ++i) bytes += char(i % 251);
  return bytes;
}

}  // namespace tarvenix::test
