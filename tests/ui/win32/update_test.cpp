// The self-update end to end, on the loopback build of tarvenix.exe against the test
// server: no newer file, a 403, an HTML page as the update, a program that cannot be
// started, and a newer build that replaces the old program file and runs with its window.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "ui/win32/resource.h"
#include "window_driver.h"
#include "window_steps.h"

using namespace tarvenix;
using namespace tarvenix::testing;

namespace {

// What the test server appends to the program it serves as the newer build.
const std::string new_build_marker("\0TARVENIX NEW BUILD\0", 20);

// The program of another process than `old_process` whose main window has opened.
struct NewProgram {
  DWORD process_id = 0;
  HWND window = nullptr;
};

NewProgram wait_new_program(DWORD old_process, DWORD timeout_ms) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  do {
    for (const TopWindow& top : visible_top_windows()) {
      if (top.process_id != old_process && top.class_name.starts_with("ADIF to DX Tarvenix"))
        return {top.process_id, top.handle};
    }
    Sleep(100);
  } while (GetTickCount64() < end);
  return {};
}

void end_process(DWORD process_id) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process_id);
  if (process == nullptr) return;
  TerminateProcess(process, 0);
  WaitForSingleObject(process, 10000);
  CloseHandle(process);
}

// Update, and Yes to the offer of a new version.
void accept_update(ProgramRun& run) {
  run.click(IDC_UPDATE);
  expect_message(run, "A new version of the program is available!\nDo you want to install it?",
                 IDYES);
}

}  // namespace

TEST_SUITE("update") {
  TEST_CASE("an older program file on the server: already the latest version") {
    use_test_server("pe-image");  // Last-Modified in 2024, before this build
    ProgramRun run("update-latest", loopback_program());
    open(run);
    run.click(IDC_UPDATE);
    expect_message(run, "You already have the latest version of the program.");
    exit_program(run);
  }

  TEST_CASE("a 403 without Last-Modified is told with its permission text") {
    use_test_server("status/403");
    ProgramRun run("update-forbidden", loopback_program());
    open(run);
    run.click(IDC_UPDATE);
    expect_message(run,
                   "HTTP Error 403 - Forbidden\nYou do not have permission to access "
                   "tarvenix.exe on the remote server!");
    exit_program(run);
  }

  TEST_CASE("an HTML page served as the update fails and replaces nothing") {
    use_test_server("html-dated");
    ProgramRun run("update-html", loopback_program());
    const auto program = run.read_file("tarvenix.exe");
    open(run);
    accept_update(run);
    expect_message(run, "The download failed!");
    CHECK(files_matching(run, "dxt*.tmp").empty());
    CHECK(run.read_file("tarvenix.exe") == program);
    exit_program(run);
  }

  TEST_CASE("a new program that cannot be started is told, deleted, and the window stays") {
    use_test_server("pe-dated");  // an image with no code, dated 2100
    ProgramRun run("update-unstartable", loopback_program());
    const auto program = run.read_file("tarvenix.exe");
    open(run);
    accept_update(run);
    expect_message(run, "The program will now exit and run the new version.");
    expect_message(run, "The new version of the program could not be started.", IDOK, 30000);
    CHECK(files_matching(run, "dxt*.tmp").empty());
    CHECK(run.read_file("tarvenix.exe") == program);
    exit_program(run);
  }

  TEST_CASE("a newer build is downloaded, started, and replaces the old program file") {
    use_test_server("program");
    ProgramRun run("update-program", loopback_program());
    const auto old_program = run.read_file("tarvenix.exe");
    open(run);
    accept_update(run);
    expect_message(run, "The program will now exit and run the new version.", IDOK, 60000);
    CHECK(run.wait_exit(20000) == 0u);

    const NewProgram restarted = wait_new_program(run.process_id(), 30000);
    REQUIRE(restarted.window != nullptr);
    char title[256] = {};
    GetWindowTextA(restarted.window, title, sizeof title);
    CHECK(std::string(title) == "ADIF to DX Tarvenix 2024 - Version 1.0");
    const auto new_program = run.read_file("tarvenix.exe");
    REQUIRE(new_program.has_value());
    CHECK(new_program->size() == old_program->size() + new_build_marker.size());
    CHECK(std::string(new_program->end() - new_build_marker.size(), new_program->end()) ==
          new_build_marker);
    CHECK(files_matching(run, "dxt*.tmp").empty());
    end_process(restarted.process_id);
  }
}
