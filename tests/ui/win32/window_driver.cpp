// The window driver, and the tests' program. Started as "--record-url <address>" it is the
// prefix's web browser instead: it appends the address to the file named by
// TARVENIX_URL_LOG, so no test ever opens a real web page.
#define DOCTEST_CONFIG_IMPLEMENT
#include "window_driver.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

namespace tarvenix::testing {
namespace {

void prepare_prefix() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string recorder = std::string("\"") + self + "\" --record-url \"%1\"";
  const auto set = [](HKEY root, const std::string& key, const char* name,
                      const std::string& value) {
    RegSetKeyValueA(root, key.c_str(), name, REG_SZ, value.c_str(), value.size() + 1);
  };
  // Arial's metrics, drawn by Wine, and the window frame drawn by Wine itself (no window
  // manager runs under Xvfb); web pages go to the recorder.
  set(HKEY_CURRENT_USER, "Software\\Wine\\Fonts\\Replacements", "Arial", "Liberation Sans");
  set(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed", "N");
  for (const char* scheme : {"http", "https"})
    set(HKEY_LOCAL_MACHINE, std::string("Software\\Classes\\") + scheme + "\\shell\\open\\command",
        nullptr, recorder);
}

}  // namespace

std::string windows_path(std::string path) {
  std::ranges::replace(path, '/', '\\');
  return "Z:" + path;
}

LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result)
             ? static_cast<LRESULT>(result)
             : -1;
}

std::string text_of(HWND window) {
  std::vector<char> text(4096);
  send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

void set_text(HWND window, const std::string& text) {
  send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void command(HWND parent, int id, int notification) {
  PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, notification),
               reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
}

bool press(HWND dialog, int button) {
  command(dialog, button);
  return wait_until(10000, [&] { return !IsWindow(dialog); });
}

DWORD process_of(HWND window) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  return process_id;
}

std::vector<HWND> top_windows(const std::string& class_prefix, DWORD process_id,
                              const std::string& caption) {
  std::vector<HWND> found;
  char name[128];
  for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, nullptr); w;
       w = FindWindowExA(nullptr, w, nullptr, nullptr))
    if (IsWindowVisible(w) && GetClassNameA(w, name, sizeof name) > 0 &&
        std::string_view(name).starts_with(class_prefix) &&
        (process_id == 0 || process_of(w) == process_id) &&
        (caption.empty() || text_of(w) == caption))
      found.push_back(w);
  return found;
}

HWND wait_window(DWORD timeout_ms, const std::string& class_prefix, DWORD process_id,
                 const std::string& caption) {
  std::vector<HWND> found;
  wait_until(timeout_ms,
             [&] { return !(found = top_windows(class_prefix, process_id, caption)).empty(); });
  return found.empty() ? nullptr : found.front();
}

void end_process(HANDLE process) {
  TerminateProcess(process, 99);
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
}

ProgramRun::ProgramRun(const std::string& name, const std::string& program)
    : folder_(windows_path(TARVENIX_WINDOWS_BUILD_DIR "/e2e/" + name)) {
  std::error_code ignored;  // a file still in use is overwritten below
  std::filesystem::remove_all(folder_, ignored);
  std::filesystem::create_directories(folder_, ignored);
  copy_in(program, "tarvenix.exe");
  // The country file the build puts beside the shipped programs.
  copy_in(windows_path(TARVENIX_WINDOWS_BUILD_DIR "/bin/cty.csv"), "cty.csv");
}

ProgramRun::~ProgramRun() {
  if (process_.hProcess == nullptr) return;
  end_process(process_.hProcess);
  CloseHandle(process_.hThread);
}

void ProgramRun::write_file(const std::string& name, const std::string& bytes) const {
  std::ofstream(path(name), std::ios::binary) << bytes;
}

std::string ProgramRun::read_file(const std::string& name) const {
  std::ifstream in(path(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void ProgramRun::start() {
  SetEnvironmentVariableA("TARVENIX_URL_LOG", path("urls.txt").c_str());
  STARTUPINFOA startup{sizeof startup};
  std::string line = "\"" + folder_ + "\\tarvenix.exe\"";
  CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                 &startup, &process_);
}

void ProgramRun::open() {
  start();
  REQUIRE((window = wait_window(20000, "ADIF to DX", process_.dwProcessId)) != nullptr);
}

std::optional<DWORD> ProgramRun::wait_exit(DWORD timeout_ms) {
  if (WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

std::optional<Dialog> ProgramRun::wait_dialog(DWORD timeout_ms, const std::string& caption) {
  const HWND handle = wait_window(timeout_ms, "#32770", process_.dwProcessId, caption);
  if (handle == nullptr) return std::nullopt;
  Dialog found{handle, text_of(handle)};
  for (HWND line = nullptr; (line = FindWindowExA(handle, line, "Static", nullptr));)
    if (text_of(line).size() > found.text.size()) found.text = text_of(line);
  return found;
}

size_t ProgramRun::boxes() {
  sync();
  return top_windows("#32770", process_.dwProcessId).size();
}

// A posted EM_SETLIMITTEXT to the read-only ADIF edit is the marker: the window's thread
// handles posted messages in order, so once the marker shows, all before it are done.
void ProgramRun::sync() {
  const int value = ++sync_counter_;
  PostMessageA(control(IDC_ADIF_FILE), EM_SETLIMITTEXT, static_cast<WPARAM>(value), 0);
  wait_until(10000, [&] { return send(control(IDC_ADIF_FILE), EM_GETLIMITTEXT) == value; });
}

}  // namespace tarvenix::testing

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--record-url") == 0) {
    const char* log = std::getenv("TARVENIX_URL_LOG");
    return log && (std::ofstream(log, std::ios::app | std::ios::binary) << argv[2] << "\n") ? 0 : 1;
  }
  tarvenix::testing::prepare_prefix();
  return doctest::Context(argc, argv).run();
}
