// Drives tarvenix.exe from outside, as an operator would: starts a copy in a folder of its
// own, finds its main window, reads its controls (id, class, text, position), types into
// them, clicks, reads message boxes and presses their buttons, and captures the window
// into a PNG. Every wait is bounded.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tarvenix::testing {

// Windows path of a Linux path (Wine maps / to drive Z:).
std::string windows_path(const std::string& unix_path);

// The test build's folders.
std::string build_dir();           // build/windows, as a Windows path
std::string program_under_test();  // build/windows/bin/tarvenix.exe
// The same program built to talk only to servers on 127.0.0.1, which the tests name in
// TARVENIX_TEST_CONTEST_URL and TARVENIX_TEST_UPDATE_URL.
std::string loopback_program();  // build/windows/bin/loopback/tarvenix.exe

// A visible top-level window of any process.
struct TopWindow {
  HWND handle = nullptr;
  DWORD process_id = 0;
  std::string class_name;
};
std::vector<TopWindow> visible_top_windows();

struct ControlInfo {
  HWND handle = nullptr;
  std::string class_name;
  std::string text;
  LONG_PTR style = 0;
  RECT box{};  // client coordinates of the main window: left, top, right, bottom
  int width() const { return box.right - box.left; }
  int height() const { return box.bottom - box.top; }
};

struct MessageBoxInfo {
  HWND handle = nullptr;
  std::string caption;
  std::string text;
  std::vector<int> buttons;  // IDOK, IDYES, IDNO...
  HWND owner = nullptr;
};

// The registry of the Wine prefix as the tests need it.
void set_runtime_key(bool present, DWORD build = 33810, DWORD major = 14);
void prepare_prefix();  // fonts, window frames, the https handler that records addresses

class ProgramRun {
 public:
  // Copies `program` into build/windows/e2e/<name>/ (emptied first).
  explicit ProgramRun(const std::string& name, const std::string& program = program_under_test());
  ~ProgramRun();  // ends the program if it still runs
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  const std::string& folder() const { return folder_; }
  void write_file(const std::string& name, const std::vector<unsigned char>& bytes) const;
  std::optional<std::vector<unsigned char>> read_file(const std::string& name) const;
  std::string recorded_urls() const;  // the web pages the program asked to open

  void start();
  HWND wait_main_window(DWORD timeout_ms = 20000);
  HWND main_window() const { return main_; }

  std::optional<MessageBoxInfo> wait_message_box(DWORD timeout_ms = 10000);
  bool no_message_box();  // after the window has handled everything posted so far
  void press(const MessageBoxInfo& box, int button);

  // The program's open or save dialog titled `title`: `path` typed as the file name and
  // the dialog confirmed. False when no such dialog came, or (with `wait_closed`) when it
  // did not close.
  bool answer_file_dialog(const std::string& title, const std::string& path,
                          bool wait_closed = true, DWORD timeout_ms = 10000);

  DWORD process_id() const { return process_.dwProcessId; }

  // Exit code, or nothing when the program did not end in time.
  std::optional<DWORD> wait_exit(DWORD timeout_ms = 10000);

  std::string window_title() const;
  ControlInfo control(int id) const;
  std::vector<std::string> list_rows(int id) const;
  int list_selection(int id) const;
  bool checked(int id) const;
  std::vector<HWND> owned_windows(const char* class_name) const;

  void type(int id, const std::string& text) const;      // WM_CHAR, into a combo box's edit too
  void set_text(int id, const std::string& text) const;  // WM_SETTEXT
  void leave_field(int id) const;                        // EN_KILLFOCUS
  void click(int id) const;                              // BN_CLICKED
  void choose(int id, int row) const;                    // CB_SETCURSEL, then CBN_SELCHANGE
  void close_window() const;                             // WM_CLOSE
  void resize_client(int width, int height) const;
  void sync();  // returns when everything posted before it has been handled

  // Captures the window from the screen into a PNG under build/windows/screenshots/;
  // returns the pixels (0x00RRGGBB, rows top down) of the window.
  std::vector<DWORD> screenshot(const std::string& file_name, int* width, int* height) const;

 private:
  LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) const;
  void post_command(int id, int notification) const;

  std::string folder_;
  std::string exe_;
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
  int sync_counter_ = 1000;
};

}  // namespace tarvenix::testing
