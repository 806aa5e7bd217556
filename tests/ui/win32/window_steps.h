// Steps the window tests share: starting the program, answering its message boxes, ending
// it through Exit, the test server of the loopback build, and the files of a run.
#pragma once

#include <doctest/doctest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/win32/resource.h"
#include "window_driver.h"

namespace tarvenix::testing {

inline const std::string program_caption = "ADIF to DX Tarvenix 2024";

// Starts the program and waits for its window.
inline void open(ProgramRun& run) {
  run.start();
  REQUIRE(run.wait_main_window() != nullptr);
}

// The next message box must say `text` under the program's caption; `button` closes it.
inline void expect_message(ProgramRun& run, const std::string& text, int button = IDOK,
                           DWORD timeout_ms = 10000) {
  const auto box = run.wait_message_box(timeout_ms);
  REQUIRE_MESSAGE(box.has_value(), "no message box; expected: " << text);
  CHECK(box->caption == program_caption);
  CHECK(box->text == text);
  run.press(*box, button);
}

// Ends a program whose window is open: Exit, then Yes.
inline void exit_program(ProgramRun& run) {
  run.click(IDC_EXIT);
  expect_message(run, "Are you sure you want to exit?", IDYES);
  CHECK(run.wait_exit() == 0u);
}

// The test server's address, handed over by with-http-server.
inline std::string test_server() {
  const char* port = std::getenv("TARVENIX_TEST_HTTP_PORT");
  REQUIRE_MESSAGE(port != nullptr, "run through tests/net/with-http-server (ctest does)");
  return std::string("http://127.0.0.1:") + port;
}

// Points the program's servers at the test server; `update_route` picks the answer to the
// update's request.
inline void use_test_server(const std::string& update_route) {
  const std::string server = test_server();
  SetEnvironmentVariableA("TARVENIX_TEST_CONTEST_URL", server.c_str());
  const std::string update = server + "/" + update_route + "/software/tarvenix/tarvenix.exe";
  SetEnvironmentVariableA("TARVENIX_TEST_UPDATE_URL", update.c_str());
}

inline std::vector<unsigned char> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<unsigned char> sample(const std::string& name) {
  return read_bytes(windows_path(TARVENIX_SOURCE_DIR) + "\\samples\\" + name);
}

inline std::string in_folder(const ProgramRun& run, const std::string& name) {
  return run.folder() + "\\" + name;
}

inline bool file_exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Names in the run's folder that match `pattern`.
inline std::vector<std::string> files_matching(const ProgramRun& run, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(in_folder(run, pattern).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.emplace_back(data.cFileName);
  while (FindNextFileA(search, &data));
  FindClose(search);
  return names;
}

}  // namespace tarvenix::testing
