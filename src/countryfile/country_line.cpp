// Reading one line of cty.csv: ten comma-separated fields, the last a list of aliases
// ending with ";". Every field is checked, so that a line of another format is refused
// rather than misread.
#include "countryfile/country_line.h"

#include <array>

#include "records/text_compare.h"

namespace tarvenix {

namespace {

constexpr size_t line_field_count = 10;
constexpr std::string_view continent_codes[] = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};
constexpr int last_cq_zone = 40;
constexpr int last_itu_zone = 90;
constexpr int last_dxcc = 999;

bool is_call_char(char c) {
  return is_digit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '/';
}

// A whole number of 1 to 3 digits from 1 to `last`, or 0.
int small_number(std::string_view text, int last) {
  if (text.empty() || text.size() > 3) return 0;
  int value = 0;
  for (char c : text) {
    if (!is_digit(c)) return 0;
    value = value * 10 + (c - '0');
  }
  return value <= last ? value : 0;
}

bool all_digits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (!is_digit(c)) return false;
  return true;
}

// An optional sign, digits, and an optional point with digits: latitude, longitude, offset.
bool is_decimal(std::string_view text) {
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  const size_t point = text.find('.');
  if (point == std::string_view::npos) return all_digits(text);
  return all_digits(text.substr(0, point)) && all_digits(text.substr(point + 1));
}

bool set_continent(std::string_view text, char (&continent)[2]) {
  for (std::string_view known : continent_codes) {
    if (text == known) {
      continent[0] = text[0];
      continent[1] = text[1];
      return true;
    }
  }
  return false;
}

// The overrides after an alias's text, in any order.
bool parse_overrides(std::string_view text, CountryAliasText& alias) {
  while (!text.empty()) {
    const char open = text[0];
    const char close = open == '('   ? ')'
                       : open == '[' ? ']'
                       : open == '<' ? '>'
                       : open == '{' ? '}'
                       : open == '~' ? '~'
                                     : '\0';
    if (close == '\0') return false;
    const size_t end = text.find(close, 1);
    if (end == std::string_view::npos) return false;
    const std::string_view inside = text.substr(1, end - 1);
    text.remove_prefix(end + 1);
    if (open == '(') {
      alias.cq_zone = static_cast<int8_t>(small_number(inside, last_cq_zone));
      if (alias.cq_zone == 0) return false;
    } else if (open == '[') {
      if (small_number(inside, last_itu_zone) == 0) return false;
    } else if (open == '{') {
      if (!set_continent(inside, alias.continent)) return false;
    } else if (inside.empty()) {
      return false;
    }
  }
  return true;
}

// "=VER" and eight digits names the file's version instead of a call.
std::string_view version_of(const CountryAliasText& alias) {
  const std::string_view text = alias.text;
  if (!alias.exact || text.size() != 11 || text.substr(0, 3) != "VER") return {};
  return all_digits(text.substr(3)) ? text.substr(3) : std::string_view();
}

bool parse_alias(std::string_view token, CountryAliasText& alias) {
  alias = {};
  alias.exact = token[0] == '=';
  if (alias.exact) token.remove_prefix(1);
  size_t end = 0;
  while (end < token.size() && is_call_char(token[end])) ++end;
  if (end == 0 || end > country_alias_limit) return false;
  alias.text = token.substr(0, end);
  return parse_overrides(token.substr(end), alias);
}

bool parse_aliases(std::string_view text, CountryLine& line) {
  if (text.empty() || text.back() != ';') return false;
  text.remove_suffix(1);
  while (!text.empty()) {
    const size_t space = text.find(' ');
    const std::string_view token = text.substr(0, space);
    text.remove_prefix(space == std::string_view::npos ? text.size() : space + 1);
    if (token.empty()) continue;
    CountryAliasText alias;
    if (!parse_alias(token, alias)) return false;
    if (const std::string_view version = version_of(alias); !version.empty()) {
      line.version = version;
    } else {
      line.aliases.push_back(alias);
    }
  }
  return !line.aliases.empty();
}

}  // namespace

bool parse_country_line(std::string_view text, CountryLine& line) {
  line.aliases.clear();
  line.version = {};
  std::array<std::string_view, line_field_count> fields;
  for (size_t i = 0; i + 1 < line_field_count; ++i) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos) return false;
    fields[i] = text.substr(0, comma);
    text.remove_prefix(comma + 1);
  }
  fields[line_field_count - 1] = text;
  if (text.find(',') != std::string_view::npos) return false;

  CountryEntity& entity = line.entity;
  entity.primary_prefix = fields[0];
  entity.name = fields[1];
  entity.dxcc = small_number(fields[2], last_dxcc);
  entity.cq_zone = static_cast<int8_t>(small_number(fields[4], last_cq_zone));
  entity.itu_zone = static_cast<int8_t>(small_number(fields[5], last_itu_zone));
  char continent[2] = {};
  if (fields[0].empty() || fields[1].empty() || entity.dxcc == 0 || entity.cq_zone == 0 ||
      entity.itu_zone == 0 || !set_continent(fields[3], continent)) {
    return false;
  }
  entity.continent[0] = continent[0];
  entity.continent[1] = continent[1];
  for (size_t i = 6; i < 9; ++i)
    if (!is_decimal(fields[i])) return false;
  return parse_aliases(fields[9], line);
}

}  // namespace tarvenix
