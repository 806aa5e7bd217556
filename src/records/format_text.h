// printf-style formatting into std::string, for the program's message texts and the reasons
// the evaluation composes.
#pragma once

#include <cstdint>
#include <string>

#include "records/printf_format.h"

namespace tarvenix {

std::string format_text(const char* format, ...) TARVENIX_PRINTF(1, 2);

// A size of whole mebibytes as the program's texts give it: "64 MiB".
std::string mebibytes_text(uint64_t bytes);

// The same into `out`, reusing its memory (called once per rejected QSO).
void format_to(std::string& out, const char* format, ...) TARVENIX_PRINTF(2, 3);

}  // namespace tarvenix
