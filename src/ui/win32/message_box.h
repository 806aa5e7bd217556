// The program's message box, captioned with the program name and the contest year, and
// the string table.
#pragma once

#include <windows.h>

#include <string>

namespace tarvenix {

// A string resource of the running program, cut to `max_length` characters.
std::string load_string(int id, size_t max_length = 255);

// MessageBoxA with the caption "ADIF to DX Tarvenix 2024"; returns the button pressed.
int show_message(HWND owner, const std::string& text, UINT type);

}  // namespace tarvenix
