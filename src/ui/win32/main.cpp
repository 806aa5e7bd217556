// The entry of the Windows program: one copy at a time, the records, the window, and the
// message loop until the quit message.
#include <windows.h>

#include <memory>

#include "ui/win32/app.h"
#include "ui/win32/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace tarvenix;
  const auto app = std::make_unique<App>();
  claim_single_instance(*app);
  init_application(*app, instance);
  switch (create_main_window(*app)) {
    case WindowStart::created:
      break;
    case WindowStart::failed:
      return -1;
    case WindowStart::runtime_missing:
      return 1;
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
