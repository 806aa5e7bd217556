// Drives tarvenix.exe from outside, as an operator would: starts a copy in a folder of its
// own, finds its main window, reads and types into its controls, clicks, and reads and
// answers its message boxes and file dialogs. Every wait is bounded.
#pragma once

#include <windows.h>

#include <doctest/doctest.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/win32/resource.h"

namespace tarvenix::testing {

inline const std::string program_caption = "ADIF to DX Tarvenix 2024";

// Windows path of a Linux path (Wine maps / to drive Z:).
std::string windows_path(const std::string& unix_path);
// The same program built to talk only to servers on 127.0.0.1, which the tests name in
// TARVENIX_TEST_CONTEST_URL and TARVENIX_TEST_UPDATE_URL.
std::string loopback_program();
std::vector<unsigned char> sample(const std::string& name);  // a file of samples/

// A visible top-level window of any process.
struct TopWindow {
  HWND handle = nullptr;
  DWORD process_id = 0;
  std::string class_name;
};
std::vector<TopWindow> visible_top_windows();

struct MessageBoxInfo {
  HWND handle = nullptr;
  std::string caption;
  std::string text;
  HWND owner = nullptr;
};

// The registry of the Wine prefix as the tests need it.
void set_runtime_key(bool present, DWORD build = 33810);
void prepare_prefix();  // fonts, window frames, the https handler that records addresses

class ProgramRun {
 public:
  // Copies `program` into build/windows/e2e/<name>/ (emptied first).
  explicit ProgramRun(const std::string& name,
                      const std::string& program = windows_path(TARVENIX_PROGRAM));
  ~ProgramRun();  // ends the program if it still runs
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  std::string path(const std::string& name) const { return folder_ + "\\" + name; }
  void write_file(const std::string& name, const std::vector<unsigned char>& bytes) const;
  std::optional<std::vector<unsigned char>> read_file(const std::string& name) const;
  std::string recorded_urls() const;  // the web pages the program asked to open

  void start();
  HWND wait_main_window(DWORD timeout_ms = 20000);
  HWND main_window() const { return main_; }
  DWORD process_id() const { return process_.dwProcessId; }
  std::optional<DWORD> wait_exit(DWORD timeout_ms = 10000);  // nothing: still running

  std::optional<MessageBoxInfo> wait_message_box(DWORD timeout_ms = 10000);
  size_t boxes();  // the boxes open once the window has handled everything posted so far
  void press(const MessageBoxInfo& box, int button);
  // The open or save dialog titled `title` given `path` as its file name and confirmed.
  bool answer_file_dialog(const std::string& title, const std::string& path);

  std::string text(int id) const;
  RECT box(int id) const;                                   // client coordinates of the window
  void type(int id, const std::string& text) const;         // WM_CHAR, into a combo box's edit too
  void set_text(int id, const std::string& text) const;     // WM_SETTEXT
  void click(int id, int notification = BN_CLICKED) const;  // EN_KILLFOCUS: leaving a field
  void sync();  // returns when everything posted before it has been handled

 private:
  LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) const;

  std::string folder_;
  std::string exe_;
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
  int sync_counter_ = 1000;
};

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
