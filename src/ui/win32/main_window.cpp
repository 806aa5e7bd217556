// The main window procedure: a thunk finds the App stored at WM_NCCREATE and hands each
// message to its handler from a table; everything else goes to DefWindowProcA.
#include "ui/win32/main_window.h"

#include <shellapi.h>

#include <iterator>

#include "ui/win32/commands.h"
#include "ui/win32/controls.h"
#include "ui/win32/field_checks.h"
#include "ui/win32/message_box.h"
#include "ui/win32/startup.h"
#include "ui/window_lists.h"

namespace tarvenix {
namespace {

// A handler returns the message's result, or nothing to let DefWindowProcA have it too.
using MessageHandler = std::optional<LRESULT> (*)(App&, WPARAM, LPARAM);

std::optional<LRESULT> on_create(App& app, WPARAM, LPARAM) {
  build_field_table(app.fields, app.record, [](int id) { return load_string(id); });
  if (!create_controls(app)) return -1;
  load_stored_configuration(app);
  return 0;
}

std::optional<LRESULT> on_size(App& app, WPARAM, LPARAM lparam) {
  app.client_width = LOWORD(lparam);
  app.client_height = HIWORD(lparam);
  layout_antenna(app, app.client_width, app.client_height);
  return 0;
}

std::optional<LRESULT> on_get_min_max_info(App&, WPARAM, LPARAM lparam) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
  info->ptMinTrackSize = {initial_width, initial_height};
  return 0;
}

// Closing the window asks first; the window itself is never destroyed. Not while a
// command runs.
std::optional<LRESULT> on_close(App& app, WPARAM, LPARAM) {
  if (!app.busy) confirm_exit(app);
  return 0;
}

// The Update command's request to quit into the new program.
std::optional<LRESULT> on_quit_request(App& app, WPARAM, LPARAM) {
  quit_application(app);
  return 0;
}

std::optional<LRESULT> on_command(App& app, WPARAM wparam, LPARAM lparam) {
  run_command(app, LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
  return std::nullopt;
}

struct MessageRoute {
  UINT message;
  MessageHandler handler;
};

constexpr MessageRoute message_routes[] = {
    {WM_CREATE, on_create}, {WM_SIZE, on_size},       {WM_GETMINMAXINFO, on_get_min_max_info},
    {WM_CLOSE, on_close},   {WM_COMMAND, on_command}, {quit_request_message, on_quit_request},
};

App* app_of(HWND window) {
  return reinterpret_cast<App*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* app = static_cast<App*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    app->main_window = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
  }
  if (App* app = app_of(window)) {
    for (const MessageRoute& route : message_routes) {
      if (route.message != message) continue;
      if (const auto result = route.handler(*app, wparam, lparam)) return *result;
      break;
    }
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

bool register_main_window_class(App& app) {
  const std::string program = app.paths.program_dir + app.paths.program_file;
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = main_window_proc;
  window_class.hInstance = app.instance;
  window_class.hIcon = ExtractIconA(app.instance, program.c_str(), 0);
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.lpszClassName = app.title.c_str();
  return RegisterClassA(&window_class) != 0;
}

bool open_main_window(App& app) {
  app.country_rows = 1 + country_list_names().size();
  const HWND window = CreateWindowExA(
      0, app.title.c_str(), app.title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
      CW_USEDEFAULT, initial_width, initial_height, nullptr, nullptr, app.instance, &app);
  return window != nullptr;
}

}  // namespace tarvenix
