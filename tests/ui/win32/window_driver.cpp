// The window driver. Messages to the program's windows are sent with a timeout or posted,
// so a hung program fails a test instead of hanging it.
#include "window_driver.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace tarvenix::testing {
namespace {

constexpr UINT send_timeout_ms = 5000;
constexpr DWORD poll_ms = 50;
constexpr const char* runtime_key =
    "SOFTWARE\\WOW6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\X86";

template <class Condition>
bool wait_until(DWORD timeout_ms, Condition condition) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(poll_ms);
  }
}

std::string class_of(HWND window) {
  char name[128] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::vector<HWND> top_windows_of(DWORD process_id) {
  struct Search {
    DWORD process_id;
    std::vector<HWND> found;
  } search{process_id, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->process_id && IsWindowVisible(window)) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> children_of(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM data) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
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

void set_dword(HKEY handle, const char* name, DWORD value) {
  RegSetValueExA(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void empty_folder(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string path = folder + "\\" + data.cFileName;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      DeleteFileA(path.c_str());
    else if (data.cFileName[0] != '.')
      RemoveDirectoryA(path.c_str());  // left by a test that failed half-way
  } while (FindNextFileA(search, &data));
  FindClose(search);
}

// A PNG of 8-bit RGB rows, stored through zlib.
void write_png(const std::string& path, const std::vector<DWORD>& pixels, int width, int height) {
  std::vector<unsigned char> raw;
  raw.reserve(static_cast<size_t>(height) * (1 + 3 * static_cast<size_t>(width)));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < width; ++x) {
      const DWORD p = pixels[static_cast<size_t>(y) * width + x];
      raw.insert(raw.end(), {static_cast<unsigned char>(p >> 16),
                             static_cast<unsigned char>(p >> 8), static_cast<unsigned char>(p)});
    }
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<unsigned char> packed(packed_size);
  compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 6);
  packed.resize(packed_size);

  std::ofstream out(path, std::ios::binary);
  const auto u32 = [](std::vector<unsigned char>& b, uint32_t v) {
    b.insert(b.end(), {static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
                       static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)});
  };
  const auto chunk = [&](const char* type, const std::vector<unsigned char>& data) {
    std::vector<unsigned char> b;
    u32(b, static_cast<uint32_t>(data.size()));
    b.insert(b.end(), type, type + 4);
    b.insert(b.end(), data.begin(), data.end());
    u32(b, static_cast<uint32_t>(crc32(0, b.data() + 4, static_cast<uInt>(b.size() - 4))));
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  };
  out.write("\x89PNG\r\n\x1a\n", 8);
  std::vector<unsigned char> header;
  u32(header, static_cast<uint32_t>(width));
  u32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});
  chunk("IHDR", header);
  chunk("IDAT", packed);
  chunk("IEND", {});
}

}  // namespace

std::string windows_path(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
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

std::string build_dir() {
  return windows_path(TARVENIX_WINDOWS_BUILD_DIR);
}
std::string program_under_test() {
  return windows_path(TARVENIX_PROGRAM);
}
std::string loopback_program() {
  return windows_path(TARVENIX_LOOPBACK_PROGRAM);
}

void set_runtime_key(bool present, DWORD build, DWORD major) {
  if (!present) {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, runtime_key);
    return;
  }
  HKEY key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, runtime_key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  set_dword(key, "Installed", 1);
  set_dword(key, "Major", major);
  set_dword(key, "Minor", 40);
  set_dword(key, "Bld", build);
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
  std::string recorder = "\"";
  recorder += self;
  recorder += "\" --record-url \"%1\"";
  for (const char* scheme : {"http", "https"})
    set_string(HKEY_LOCAL_MACHINE,
               (std::string("Software\\Classes\\") + scheme + "\\shell\\open\\command").c_str(),
               nullptr, recorder);
}

ProgramRun::ProgramRun(const std::string& name, const std::string& program) {
  CreateDirectoryA((build_dir() + "\\e2e").c_str(), nullptr);
  folder_ = build_dir() + "\\e2e\\" + name;
  CreateDirectoryA(folder_.c_str(), nullptr);
  empty_folder(folder_);
  exe_ = folder_ + "\\tarvenix.exe";
  CopyFileA(program.c_str(), exe_.c_str(), FALSE);
  // The country file the build puts beside the shipped programs.
  CopyFileA((build_dir() + "\\bin\\cty.csv").c_str(), (folder_ + "\\cty.csv").c_str(), FALSE);
}

ProgramRun::~ProgramRun() {
  if (process_.hProcess != nullptr) {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
}

void ProgramRun::write_file(const std::string& name,
                            const std::vector<unsigned char>& bytes) const {
  std::ofstream out(folder_ + "\\" + name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::optional<std::vector<unsigned char>> ProgramRun::read_file(const std::string& name) const {
  std::ifstream in(folder_ + "\\" + name, std::ios::binary);
  if (!in) return std::nullopt;
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

// The recorder runs on its own after the program has asked for the page.
std::string ProgramRun::recorded_urls() const {
  wait_until(10000, [&] { return read_file("urls.txt").has_value(); });
  Sleep(200);  // and may still be writing
  const auto bytes = read_file("urls.txt");
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

void ProgramRun::start() {
  SetEnvironmentVariableA("TARVENIX_URL_LOG", (folder_ + "\\urls.txt").c_str());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string command = "\"" + exe_ + "\"";
  CreateProcessA(exe_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                 &startup, &process_);
}

HWND ProgramRun::wait_main_window(DWORD timeout_ms) {
  wait_until(timeout_ms, [&] {
    for (HWND window : top_windows_of(process_.dwProcessId)) {
      if (class_of(window) != "#32770" && class_of(window).starts_with("ADIF to DX Tarvenix")) {
        main_ = window;
        return true;
      }
    }
    return false;
  });
  return main_;
}

LRESULT ProgramRun::send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) const {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, send_timeout_ms,
                           &result))
    return -1;
  return static_cast<LRESULT>(result);
}

std::optional<MessageBoxInfo> ProgramRun::wait_message_box(DWORD timeout_ms) {
  std::optional<MessageBoxInfo> box;
  wait_until(timeout_ms, [&] {
    for (HWND window : top_windows_of(process_.dwProcessId)) {
      if (class_of(window) != "#32770") continue;
      MessageBoxInfo info;
      info.handle = window;
      info.owner = GetWindow(window, GW_OWNER);
      char text[1024] = {};
      send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
      info.caption = text;
      for (HWND child : children_of(window)) {
        const std::string kind = class_of(child);
        if (lstrcmpiA(kind.c_str(), "Button") == 0) {
          info.buttons.push_back(GetDlgCtrlID(child));
        } else if (lstrcmpiA(kind.c_str(), "Static") == 0 &&
                   (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
          char line[1024] = {};
          send(child, WM_GETTEXT, sizeof line, reinterpret_cast<LPARAM>(line));
          if (std::string(line).size() > info.text.size()) info.text = line;
        }
      }
      box = info;
      return true;
    }
    return false;
  });
  return box;
}

bool ProgramRun::no_message_box() {
  sync();
  for (HWND window : top_windows_of(process_.dwProcessId))
    if (class_of(window) == "#32770") return false;
  return true;
}

void ProgramRun::press(const MessageBoxInfo& box, int button) {
  PostMessageA(box.handle, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.handle, button)));
  wait_until(10000, [&] { return !IsWindow(box.handle); });
}

bool ProgramRun::answer_file_dialog(const std::string& title, const std::string& path,
                                    bool wait_closed, DWORD timeout_ms) {
  HWND dialog = nullptr;
  wait_until(timeout_ms, [&] {
    for (HWND window : top_windows_of(process_.dwProcessId)) {
      char text[256] = {};
      send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
      if (class_of(window) == "#32770" && title == text) dialog = window;
    }
    return dialog != nullptr;
  });
  if (dialog == nullptr) return false;
  constexpr int file_name_box = 0x47C;   // cmb13 of the explorer-style dialog
  constexpr int file_name_edit = 0x480;  // edt1 of the older one
  HWND name = GetDlgItem(dialog, file_name_box);
  if (name == nullptr) name = GetDlgItem(dialog, file_name_edit);
  send(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  return !wait_closed || wait_until(timeout_ms, [&] { return !IsWindow(dialog); });
}

std::optional<DWORD> ProgramRun::wait_exit(DWORD timeout_ms) {
  if (WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

std::string ProgramRun::window_title() const {
  char text[256] = {};
  send(main_, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

ControlInfo ProgramRun::control(int id) const {
  ControlInfo info;
  info.handle = GetDlgItem(main_, id);
  if (info.handle == nullptr) return info;
  info.class_name = class_of(info.handle);
  std::vector<char> text(4096);
  send(info.handle, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  info.text = text.data();
  info.style = GetWindowLongPtrA(info.handle, GWL_STYLE);
  GetWindowRect(info.handle, &info.box);
  MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&info.box), 2);
  return info;
}

// Each row is selected in turn and read as the box's text (CB_GETLBTEXT does not cross
// processes safely under Wine); the selection is put back without notifying the window.
std::vector<std::string> ProgramRun::list_rows(int id) const {
  const HWND list = GetDlgItem(main_, id);
  const LRESULT selected = send(list, CB_GETCURSEL, 0, 0);
  std::vector<std::string> rows;
  const LRESULT count = send(list, CB_GETCOUNT, 0, 0);
  for (LRESULT row = 0; row < count; ++row) {
    send(list, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
    char text[256] = {};
    send(list, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    rows.emplace_back(text);
  }
  send(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  return rows;
}

int ProgramRun::list_selection(int id) const {
  return static_cast<int>(send(GetDlgItem(main_, id), CB_GETCURSEL, 0, 0));
}

bool ProgramRun::checked(int id) const {
  return send(GetDlgItem(main_, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<HWND> ProgramRun::owned_windows(const char* class_name) const {
  std::vector<HWND> found;
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  std::erase_if(found, [&](HWND w) {
    return GetWindow(w, GW_OWNER) != main_ || lstrcmpiA(class_of(w).c_str(), class_name) != 0;
  });
  return found;
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

void ProgramRun::post_command(int id, int notification) const {
  PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, notification),
               reinterpret_cast<LPARAM>(GetDlgItem(main_, id)));
}

void ProgramRun::leave_field(int id) const {
  post_command(id, EN_KILLFOCUS);
}
void ProgramRun::click(int id) const {
  post_command(id, BN_CLICKED);
}

void ProgramRun::choose(int id, int row) const {
  send(GetDlgItem(main_, id), CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  post_command(id, CBN_SELCHANGE);
}

void ProgramRun::close_window() const {
  PostMessageA(main_, WM_CLOSE, 0, 0);
}

void ProgramRun::resize_client(int width, int height) const {
  RECT outer, inner;
  GetWindowRect(main_, &outer);
  GetClientRect(main_, &inner);
  const int frame_x = (outer.right - outer.left) - inner.right;
  const int frame_y = (outer.bottom - outer.top) - inner.bottom;
  SetWindowPos(main_, nullptr, 0, 0, width + frame_x, height + frame_y,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A posted EM_SETLIMITTEXT to the read-only ADIF edit is the marker: the window's thread
// handles posted messages in order, so once the marker shows, all before it are done.
void ProgramRun::sync() {
  const HWND marker = GetDlgItem(main_, 1112);
  const int value = ++sync_counter_;
  PostMessageA(marker, EM_SETLIMITTEXT, static_cast<WPARAM>(value), 0);
  wait_until(10000, [&] { return send(marker, EM_GETLIMITTEXT, 0, 0) == value; });
}

std::vector<DWORD> ProgramRun::screenshot(const std::string& file_name, int* width,
                                          int* height) const {
  RECT area;
  GetWindowRect(main_, &area);
  const int w = area.right - area.left, h = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<DWORD> pixels(static_cast<size_t>(w) * h);
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(h), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  const std::string folder = build_dir() + "\\screenshots";
  CreateDirectoryA(folder.c_str(), nullptr);
  write_png(folder + "\\" + file_name, pixels, w, h);
  *width = w;
  *height = h;
  return pixels;
}

}  // namespace tarvenix::testing
