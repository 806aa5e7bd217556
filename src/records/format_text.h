// printf-style formatting into std::string, for the program's message texts and the reasons
// the evaluation composes.
#pragma once

#include <string>

#include "records/printf_format.h"

namespace tarvenix {

std::string format_text(const char* format, ...) TARVENIX_PRINTF(1, 2);

// The same into `out`, reusing its memory (called once per rejected QSO).
void format_to(std::string& out, const char* format, ...) TARVENIX_PRINTF(2, 3);

}  // namespace tarvenix
