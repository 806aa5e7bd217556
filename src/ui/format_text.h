// printf-style formatting into a std::string, for the program's message texts.
#pragma once

#include <string>

namespace tarvenix {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string
format_text(const char* format, ...);

}  // namespace tarvenix
