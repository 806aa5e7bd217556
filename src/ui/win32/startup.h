// Start-up and exit: the single-instance mutex, the run-long records, the main window, and
// the confirmed exit.
#pragma once

#include <windows.h>

#include "ui/win32/app.h"

namespace tarvenix {

inline constexpr const char* instance_mutex_name = "cq_dx_tarvenix";

// Creates the named mutex; when another copy holds it, tells the operator, lets go of it
// and posts the quit message (start-up goes on, and the message loop then ends at once).
void claim_single_instance(App& app);

// Keeps the instance, splits the program path, stamps the record and forms the title.
void init_application(App& app, HINSTANCE instance);

// Registers the class and opens the main window; false when either fails (exit code -1).
bool create_main_window(App& app);

// Saves the record, then asks whether to exit; Yes quits.
void confirm_exit(App& app);

// Lets go of the mutex and posts the quit message with code 0.
void quit_application(App& app);

}  // namespace tarvenix
