// The window driver. Messages to the program's windows are sent with a timeout or posted,
// so a hung program fails a test instead of hanging it.
#include "window_driver.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tarvenix::testing {
namespace {

constexpr const char* runtime_key =
    "SOFTWARE\\WOW6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\X86";

template <class Condition>
bool wait_until(DWORD timeout_ms, Condition condition) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(50);
  }
}

std::string class_of(HWND window) {
  char name[128] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// The process's dialog boxes and message boxes.
std::vector<HWND> dialogs_of(DWORD process_id) {
  std::vector<HWND> found;
  for (const TopWindow& top : visible_top_windows())
    if (top.process_id == process_id && top.class_name == "#32770") found.push_back(top.handle);
  return found;
}

void set_string(HKEY root, const char* key, const char* name, const std::string& value) {
  HKEY handle;
  if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
}

std::vector<unsigned char> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

std::string windows_path(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string loopback_program() {
  return windows_path(TARVENIX_LOOPBACK_PROGRAM);
}
std::vector<unsigned char> sample(const std::string& name) {
  return read_bytes(windows_path(TARVENIX_SOURCE_DIR) + "\\samples\\" + name);
}

std::vector<TopWindow> visible_top_windows() {
  std::vector<TopWindow> found;
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        if (!IsWindowVisible(window)) return TRUE;
        TopWindow top{window, 0, class_of(window)};
        GetWindowThreadProcessId(window, &top.process_id);
        reinterpret_cast<std::vector<TopWindow>*>(data)->push_back(std::move(top));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void set_runtime_key(bool present, DWORD build) {
  if (!present) {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, runtime_key);
    return;
  }
  HKEY key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, runtime_key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  for (const auto& [name, value] : {std::pair<const char*, DWORD>{"Installed", 1},
                                    {"Major", 14},
                                    {"Minor", 40},
                                    {"Bld", build}})
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

void prepare_prefix() {
  // Arial's metrics, drawn by Wine, and the window frame drawn by Wine itself (no window
  // manager runs under Xvfb).
  set_string(HKEY_CURRENT_USER, "Software\\Wine\\Fonts\\Replacements", "Arial", "Liberation Sans");
  set_string(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed", "N");
  // Web pages are never opened: the address is written to the run's urls.txt instead.
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string recorder = std::string("\"") + self + "\" --record-url \"%1\"";
  for (const char* scheme : {"http", "https"})
    set_string(HKEY_LOCAL_MACHINE,
               (std::string("Software\\Classes\\") + scheme + "\\shell\\open\\command").c_str(),
               nullptr, recorder);
}

ProgramRun::ProgramRun(const std::string& name, const std::string& program) {
  const std::string build_dir = windows_path(TARVENIX_WINDOWS_BUILD_DIR);
  folder_ = build_dir + "\\e2e\\" + name;
  std::error_code ignored;  // a file still in use is overwritten below
  std::filesystem::remove_all(folder_, ignored);
  std::filesystem::create_directories(folder_, ignored);
  exe_ = path("tarvenix.exe");
  CopyFileA(program.c_str(), exe_.c_str(), FALSE);
  // The country file the build puts beside the shipped programs.
  CopyFileA((build_dir + "\\bin\\cty.csv").c_str(), path("cty.csv").c_str(), FALSE);
}

ProgramRun::~ProgramRun() {
  if (process_.hProcess == nullptr) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
}

void ProgramRun::write_file(const std::string& name,
                            const std::vector<unsigned char>& bytes) const {
  std::ofstream out(path(name), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::optional<std::vector<unsigned char>> ProgramRun::read_file(const std::string& name) const {
  if (GetFileAttributesA(path(name).c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return read_bytes(path(name));
}

// The recorder runs on its own after the program has asked for the page.
std::string ProgramRun::recorded_urls() const {
  wait_until(10000, [&] { return read_file("urls.txt").has_value(); });
  Sleep(200);  // and may still be writing
  const auto bytes = read_file("urls.txt");
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

void ProgramRun::start() {
  SetEnvironmentVariableA("TARVENIX_URL_LOG", path("urls.txt").c_str());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string command = "\"" + exe_ + "\"";
  CreateProcessA(exe_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                 &startup, &process_);
}

HWND ProgramRun::wait_main_window(DWORD timeout_ms) {
  wait_until(timeout_ms, [&] {
    for (const TopWindow& top : visible_top_windows())
      if (top.process_id == process_id() && top.class_name.starts_with("ADIF to DX"))
        main_ = top.handle;
    return main_ != nullptr;
  });
  return main_;
}

std::optional<DWORD> ProgramRun::wait_exit(DWORD timeout_ms) {
  if (WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

LRESULT ProgramRun::send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) const {
  DWORD_PTR result = 0;
  const bool answered =
      SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result);
  return answered ? static_cast<LRESULT>(result) : -1;
}

// The box's text is its longest static control that is not the icon.
std::optional<MessageBoxInfo> ProgramRun::wait_message_box(DWORD timeout_ms) {
  std::optional<MessageBoxInfo> box;
  wait_until(timeout_ms, [&] {
    for (HWND window : dialogs_of(process_id())) {
      MessageBoxInfo info{window, "", "", GetWindow(window, GW_OWNER)};
      char text[1024] = {};
      send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
      info.caption = text;
      for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (lstrcmpiA(class_of(child).c_str(), "Static") != 0 ||
            (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
          continue;
        char line[1024] = {};
        send(child, WM_GETTEXT, sizeof line, reinterpret_cast<LPARAM>(line));
        if (std::string(line).size() > info.text.size()) info.text = line;
      }
      box = info;
      return true;
    }
    return false;
  });
  return box;
}

size_t ProgramRun::boxes() {
  sync();
  return dialogs_of(process_id()).size();
}

void ProgramRun::press(const MessageBoxInfo& box, int button) {
  PostMessageA(box.handle, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.handle, button)));
  wait_until(10000, [&] { return !IsWindow(box.handle); });
}

bool ProgramRun::answer_file_dialog(const std::string& title, const std::string& file) {
  HWND dialog = nullptr;
  wait_until(10000, [&] {
    for (HWND window : dialogs_of(process_id())) {
      char text[256] = {};
      send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
      if (title == text) dialog = window;
    }
    return dialog != nullptr;
  });
  if (dialog == nullptr) return false;
  // The file name box: cmb13 of the explorer-style dialog, edt1 of the older one.
  HWND name = GetDlgItem(dialog, 0x47C);
  if (name == nullptr) name = GetDlgItem(dialog, 0x480);
  send(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  return wait_until(10000, [&] { return !IsWindow(dialog); });
}

std::string ProgramRun::text(int id) const {
  std::vector<char> text(4096);
  send(id == 0 ? main_ : GetDlgItem(main_, id), WM_GETTEXT, text.size(),
       reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

RECT ProgramRun::box(int id) const {
  RECT box{};
  GetWindowRect(GetDlgItem(main_, id), &box);
  MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&box), 2);
  return box;
}

void ProgramRun::type(int id, const std::string& text) const {
  HWND target = GetDlgItem(main_, id);
  if (lstrcmpiA(class_of(target).c_str(), "ComboBox") == 0)
    target = FindWindowExA(target, nullptr, "Edit", nullptr);
  for (char c : text) PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void ProgramRun::set_text(int id, const std::string& text) const {
  send(GetDlgItem(main_, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ProgramRun::click(int id, int notification) const {
  PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, notification),
               reinterpret_cast<LPARAM>(GetDlgItem(main_, id)));
}

// A posted EM_SETLIMITTEXT to the read-only ADIF edit is the marker: the window's thread
// handles posted messages in order, so once the marker shows, all before it are done.
void ProgramRun::sync() {
  const HWND marker = GetDlgItem(main_, IDC_ADIF_FILE);
  const int value = ++sync_counter_;
  PostMessageA(marker, EM_SETLIMITTEXT, static_cast<WPARAM>(value), 0);
  wait_until(10000, [&] { return send(marker, EM_GETLIMITTEXT, 0, 0) == value; });
}

}  // namespace tarvenix::testing
