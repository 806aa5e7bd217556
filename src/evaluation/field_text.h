// Numbers read from ADIF field values, and reason texts composed for the run log. Values are
// views into a record (not terminated), may be of any length and are read the same in every
// locale; nothing here overflows or reads past a value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scoresheet/run_log.h"

namespace tarvenix {

// The leading decimal integer, as the C library's atoi reads it (leading white space, an
// optional sign, digits; no digits give 0), saturated to the 32-bit range.
int32_t leading_int(std::string_view text);

// The leading decimal floating-point number, as strtod reads it in the "C" locale (white
// space, sign, digits with a point and exponent, "inf", "nan", hexadecimal); none gives 0.
// A number beyond the range of double also gives 0 (strtod would give HUGE_VAL or about 0;
// the band check rejects each of them alike).
double leading_double(std::string_view text);

// Byte-for-byte equality ignoring the case of the letters A to Z.
bool equal_ignoring_case(std::string_view a, std::string_view b);

// printf into `out`, reusing its memory.
void format_to(std::string& out, const char* format, ...) TARVENIX_PRINTF(2, 3);

// A view's length for a "%.*s" conversion.
inline int print_length(std::string_view text) {
  return text.size() > INT32_MAX ? INT32_MAX : static_cast<int>(text.size());
}

}  // namespace tarvenix
