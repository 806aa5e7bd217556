// The main window: its class, its creation, and the window procedure, which routes each
// message to a small handler through a table (commands: see commands.h).
#pragma once

#include <windows.h>

#include "ui/win32/app.h"

namespace tarvenix {

// Registers the class named after the title; false when registration fails.
bool register_main_window_class(App& app);

// Creates the window (620 x 500), whose create handler builds the controls and loads the
// configuration; false when creation fails.
bool open_main_window(App& app);

}  // namespace tarvenix
