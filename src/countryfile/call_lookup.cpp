// The portable forms of a call sign, reduced to the one part the country file is asked.
#include "countryfile/call_lookup.h"

#include <array>
#include <cstdint>

#include "countryfile/country_line.h"
#include "records/text_compare.h"

namespace tarvenix {

namespace {

constexpr size_t most_parts = 8;

// Suffixes that tell how or where the station works, never which entity it is in.
constexpr std::string_view keep_entity[] = {"P",   "M",  "A", "B", "QRP", "QRPP", "LH",
                                            "LGT", "PM", "R", "J", "YL",  "AE",   "AG"};

// Maritime and aeronautical mobile stations are in no entity.
bool is_outside_entities(std::string_view part) {
  return part == "MM" || part == "AM";
}

// The file lists KG4 under Guantanamo Bay, but only KG4 calls with a two-letter suffix are
// there; KG4 calls with any other suffix are ordinary United States calls. KG4 alone, as
// in W1AW/KG4, is how a visitor to the base signs: Guantanamo Bay.
constexpr int32_t guantanamo_bay = 105;

bool is_capital(char c) {
  return c >= 'A' && c <= 'Z';
}

bool is_mainland_kg4(std::string_view part) {
  if (!part.starts_with("KG4") || part.size() == 3) return false;
  const std::string_view suffix = part.substr(3);
  return suffix.size() != 2 || !is_capital(suffix[0]) || !is_capital(suffix[1]);
}

// The longest listed prefix of the part that decides, with the KG4 rule above.
CountryMatch prefix_match(const CountryFile& file, std::string_view part) {
  const CountryMatch match = file.longest_prefix(part);
  if (match.dxcc == guantanamo_bay && is_mainland_kg4(part))
    return file.longest_prefix(part.substr(0, 2));
  return match;
}

bool keeps_entity(std::string_view part) {
  if (part.size() == 1 && part[0] >= '0' && part[0] <= '9') return true;
  for (std::string_view suffix : keep_entity)
    if (part == suffix) return true;
  return false;
}

}  // namespace

CountryMatch locate_call(const CountryFile& file, std::string_view call) {
  char upper[country_alias_limit];
  if (call.empty() || call.size() > sizeof upper) return {};
  for (size_t i = 0; i < call.size(); ++i) upper[i] = ascii_upper(call[i]);
  const std::string_view whole(upper, call.size());
  if (CountryMatch match = file.exact_call(whole)) return match;

  std::array<std::string_view, most_parts> parts;
  size_t count = 0;
  for (std::string_view rest = whole; !rest.empty();) {
    const size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
    if (part.empty()) continue;
    if (count > 0 && is_outside_entities(part)) return {};
    if (count > 0 && keeps_entity(part)) continue;
    if (count == parts.size()) return {};
    parts[count++] = part;
  }
  if (count == 0) return {};
  if (count == 1) {
    if (parts[0].size() != whole.size())  // the whole was asked already
      if (CountryMatch match = file.exact_call(parts[0])) return match;
    return prefix_match(file, parts[0]);
  }
  std::string_view prefix = parts[0];
  for (size_t i = 1; i < count; ++i)
    if (parts[i].size() < prefix.size()) prefix = parts[i];
  return prefix_match(file, prefix);
}

}  // namespace tarvenix
