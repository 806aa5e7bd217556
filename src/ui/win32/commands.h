// The main window's WM_COMMAND handling: a table from control id and notification code to
// a small handler. Commands that keep the record in step with the controls, the edit-time
// checks, the call-sign change, Convert's entry checks and Exit live here.
#pragma once

#include <windows.h>

#include "ui/win32/app.h"

namespace tarvenix {

// Runs the handler of (control id, notification), if there is one.
void run_command(App& app, int id, int notification, HWND control);

// Lists the stored call signs into the call-sign box and, when exactly one is stored,
// loads and shows it.
void load_stored_configuration(App& app);

}  // namespace tarvenix
