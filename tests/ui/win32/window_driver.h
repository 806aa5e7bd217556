// Drives tarvenix.exe from outside, as an operator would: starts a copy in a folder of its
// own, finds its windows, reads and types into its controls, clicks, and reads and answers
// its message boxes and file dialogs. Every wait is bounded, every message sent with a
// timeout or posted, so a hung program fails a test instead of hanging it.
#pragma once

#include <windows.h>

#include <doctest/doctest.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/win32/resource.h"

namespace tarvenix::testing {

template <class Condition>
bool wait_until(DWORD timeout_ms, Condition condition) {
  for (const ULONGLONG end = GetTickCount64() + timeout_ms; !condition(); Sleep(50))
    if (GetTickCount64() >= end) return false;
  return true;
}

std::string windows_path(std::string unix_path);  // Wine maps / to drive Z:
LRESULT send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0);  // -1: no answer
std::string text_of(HWND window);
void set_text(HWND window, const std::string& text);
// Posts the WM_COMMAND that clicking the child `id` of `parent` would send it.
void command(HWND parent, int id, int notification = BN_CLICKED);
bool press(HWND dialog, int button);  // and waits until the dialog has closed
DWORD process_of(HWND window);
// The visible top-level windows whose class name starts with `class_prefix` ("#32770": the
// dialogs and message boxes), of the process `process_id` unless it is 0, and titled
// `caption` unless it is empty; the first of them, waited for.
std::vector<HWND> top_windows(const std::string& class_prefix, DWORD process_id = 0,
                              const std::string& caption = "");
HWND wait_window(DWORD timeout_ms, const std::string& class_prefix, DWORD process_id = 0,
                 const std::string& caption = "");
void end_process(HANDLE process);  // and closes the handle

struct Dialog {
  HWND handle = nullptr;
  std::string caption, text;  // a message box's text: its longest static control
};

class ProgramRun {
 public:
  // Copies `program` into build/windows/e2e/<name>/ (emptied first).
  explicit ProgramRun(const std::string& name,
                      const std::string& program = windows_path(TARVENIX_PROGRAM));
  ~ProgramRun();  // ends the program if it still runs
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  std::string path(const std::string& name) const { return folder_ + "\\" + name; }
  void copy_in(const std::string& from, const std::string& name) const {
    CopyFileA(from.c_str(), path(name).c_str(), FALSE);
  }
  void write_file(const std::string& name, const std::string& bytes) const;
  std::string read_file(const std::string& name) const;  // empty: no such file

  void start();
  void open();  // starts the program and waits for its window
  std::optional<DWORD> wait_exit(DWORD timeout_ms = 10000);  // nothing: still running

  std::optional<Dialog> wait_dialog(DWORD timeout_ms = 10000, const std::string& caption = "");
  size_t boxes();  // the dialogs open once the window has handled everything posted so far

  HWND control(int id) const { return GetDlgItem(window, id); }
  std::string text(int id) const { return text_of(control(id)); }
  void click(int id, int notification = BN_CLICKED) const { command(window, id, notification); }
  void sync();  // returns when everything posted before it has been handled

  HWND window = nullptr;  // the main window, once open() has found it

 private:
  std::string folder_;
  PROCESS_INFORMATION process_{};
  int sync_counter_ = 1000;
};

}  // namespace tarvenix::testing
