// The call-sign patterns of the special entity rules, as hand-written matchers. Each gives
// the same answer as its ECMAScript pattern under std::regex with the case ignored (letters
// A to Z only), but runs in one pass without recursion, so a call of any length is safe.
// "Full" means the whole call must match; "search" means a match anywhere.
#pragma once

#include <string_view>

namespace tarvenix {

bool is_vienna_call(std::string_view call);            // full  ^4U\d+VIC$
bool is_sicily_call(std::string_view call);            // full  ^I[IJOPQRTUWZ]9[A-Z]+$
bool is_sicily_portable_call(std::string_view call);   // full  ^I[IJOPQRTUWZ]9[A-Z]+\/[0-8]$
bool has_african_italy_prefix(std::string_view call);  // search ^I[GH]9
bool has_african_italy_suffix(std::string_view call);  // search \/I[GH]9$
bool is_european_turkey_call(std::string_view call);   // full  ^T[ABC]1[A-Z]+$
bool is_ym1_call(std::string_view call);               // full  ^YM1[A-Z]+$
bool has_call_area_1_suffix(std::string_view call);    // search \/1$

}  // namespace tarvenix
