// The state and province table, one row per zone.
#include "evaluation/subdivision_zones.h"

#include "records/text_compare.h"

namespace tarvenix {

namespace {

struct ZoneRow {
  int32_t dxcc;
  int zone;
  std::string_view codes;  // two letters each, one blank between
};

constexpr ZoneRow zone_rows[] = {
    {united_states, 3, "AZ CA ID NV OR UT WA"},
    {united_states, 4, "AL AR CO IA IL IN KS KY LA MI MN MO MS MT ND NE NM OH OK SD TN TX WI WY"},
    {united_states, 5, "CT DC DE FL GA MA MD ME NC NH NJ NY PA RI SC VA VT WV"},
    {canada, 1, "YT"},
    {canada, 3, "BC"},
    {canada, 4, "AB SK MB ON"},
    {canada, 5, "NB NS PE"},
};

}  // namespace

int subdivision_zone(int32_t dxcc, std::string_view code) {
  if (code.size() != 2) return 0;
  const char upper[2] = {ascii_upper(code[0]), ascii_upper(code[1])};
  for (const ZoneRow& row : zone_rows) {
    if (row.dxcc != dxcc) continue;
    for (size_t at = 0; at < row.codes.size(); at += 3)
      if (row.codes[at] == upper[0] && row.codes[at + 1] == upper[1]) return row.zone;
  }
  return 0;
}

}  // namespace tarvenix
