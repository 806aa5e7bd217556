// Numbers read from ADIF field values. Values are views into a record (not terminated), may be
// of any length and are read the same in every locale; nothing here overflows or reads past a
// value.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarvenix {

// The leading decimal integer, as the C library's atoi reads it (leading white space, an
// optional sign, digits; no digits give 0), saturated to the 32-bit range.
int32_t leading_int(std::string_view text);

// The leading decimal floating-point number, as strtod reads it in the "C" locale (white
// space, sign, digits with a point and exponent, "inf", "nan", hexadecimal); none gives 0.
// A number beyond the range of double also gives 0 (strtod would give HUGE_VAL or about 0;
// the band check rejects each of them alike).
double leading_double(std::string_view text);

}  // namespace tarvenix
