// The program's message box, captioned with the program name and the contest year, and
// the string table.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tarvenix {

// The longest texts kept of the string resources and of the About box's version line.
inline constexpr size_t short_text_limit = 79;  // the program name, the notice, the version line
inline constexpr size_t web_page_limit = 47;    // the contest's and the author's web page

// A string resource of the running program, cut to `max_length` characters.
std::string load_string(int id, size_t max_length = 255);

// MessageBoxA with the caption "ADIF to DX Tarvenix" and the contest year; returns the button
// pressed.
int show_message(HWND owner, const std::string& text, UINT type);

// A failure told in a box of its own, captioned `caption`, with the error icon. No window
// owns it, so the window keeps working while it is shown.
void show_failure(std::string_view caption, std::string_view text);

}  // namespace tarvenix
