// Steps the window tests share: starting the program, answering its message boxes, and
// ending it through Exit.
#pragma once

#include <doctest/doctest.h>

#include <string>

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

}  // namespace tarvenix::testing
