// The program's run-long state, created at start-up and alive until the process ends: the
// records, the paths, the main window and its controls. One instance, owned by WinMain;
// the window procedure reaches it through the window's user data.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "net/web_endpoints.h"
#include "scoresheet/system_info.h"
#include "ui/config_store.h"
#include "ui/disk_file_system.h"
#include "ui/field_table.h"
#include "ui/operator_config.h"
#include "ui/program_paths.h"
#include "ui/program_restart.h"
#include "ui/win32/handles.h"

namespace tarvenix {

inline constexpr int initial_width = 620;  // also the smallest the window may become
inline constexpr int initial_height = 500;

// Posted by the Update command to quit into the new program; private to the window, as
// dialog navigation uses WM_USER itself.
inline constexpr UINT quit_request_message = WM_APP;

// The three fonts of the window (Arial, FF_SWISS).
struct Fonts {
  FontHandle normal;   // height 14: optional labels
  FontHandle bold;     // height 14, weight 700: entry texts, required labels
  FontHandle heading;  // height 16, weight 700: section titles and the contest link
};

struct App {
  HINSTANCE instance = nullptr;
  HWND main_window = nullptr;
  std::string title;  // also the window class name
  KernelHandle mutex;

  OperatorConfig record;
  ProgramPaths paths;
  SystemInfo system;
  WebEndpoints endpoints;                       // where the bad-call list and updates live
  std::optional<RestartMarker> pending_update;  // started by an update of an older copy
  bool busy = false;                            // a command is running; others wait
  DiskFileSystem files;
  size_t country_rows = 1;  // "--" and the entity names

  FieldTable fields;
  std::array<HWND, field_count> field_controls{};  // slot for slot with `fields`
  Fonts fonts;
  int client_width = initial_width;
  int client_height = initial_height;

  ConfigContext config_context() {
    return {paths, files, ConfigListSizes{.country = country_rows}};
  }
  HWND control(int id) const { return GetDlgItem(main_window, id); }
  HWND field_control(size_t slot) const { return field_controls[slot]; }
};

}  // namespace tarvenix
