// The entry of the Windows program: one copy at a time, the records, the window, and the
// message loop until the quit message.
#include <windows.h>

#include <memory>

#include "ui/win32/app.h"
#include "ui/win32/startup.h"
#include "ui/win32/update_process.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace tarvenix;
  const auto app = std::make_unique<App>();
  // A copy started by an update waits for the old one first, so it is not refused as a
  // second instance.
  app->pending_update = wait_for_replaced_program();
  claim_single_instance(*app);
  init_application(*app, instance);
  if (!create_main_window(*app)) return -1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    // Tab and Shift+Tab move between the window's controls.
    if (IsDialogMessageA(app->main_window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
