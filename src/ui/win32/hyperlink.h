// Turns a static control into a link: dark blue text, underlined while the pointer is over
// it, the hand cursor, and a click reported to the parent as STN_CLICKED.
#pragma once

#include <windows.h>

namespace tarvenix {

void make_hyperlink(HWND parent, int control_id);

}  // namespace tarvenix
