// One line of cty.csv: PRIMARY_PREFIX,NAME,DXCC,CONTINENT,CQ,ITU,LATITUDE,LONGITUDE,
// UTC_OFFSET,ALIASES; where ALIASES is a space-separated list of prefixes and exact calls
// ("=CALL"), each with optional overrides: (CQ Zone) [ITU Zone] <lat/lon> {continent}
// ~UTC offset~.
#pragma once

#include <string_view>
#include <vector>

#include "countryfile/country_file.h"

namespace tarvenix {

inline constexpr size_t country_alias_limit = 32;  // the longest prefix or call taken

struct CountryAliasText {
  std::string_view text;   // as written, without "=" and overrides
  bool exact = false;      // "=CALL"
  int8_t cq_zone = 0;      // the override, or 0
  char continent[2] = {};  // the override, or zeros
};

struct CountryLine {
  CountryEntity entity;
  std::vector<CountryAliasText> aliases;  // the "=VERyyyymmdd" pseudo-call left out
  std::string_view version;               // its yyyymmdd, or empty
};

// False when the line is not in the format; `line` then holds nothing useful.
bool parse_country_line(std::string_view text, CountryLine& line);

}  // namespace tarvenix
