// The entry checks. The e-mail pattern is matched by hand in one pass instead of through a
// regular-expression engine, whose backtracking can take very long (or overflow the stack)
// on long texts; the tests compare both on many short texts.
#include "ui/entry_checks.h"

#include <cstdlib>
#include <cstring>

#include "records/format_text.h"
#include "records/text_compare.h"

namespace tarvenix {
namespace {

bool in_local_part(char c) {
  return is_letter(c) || is_digit(c) || (c != '\0' && std::strchr("._%+-", c) != nullptr);
}
bool in_domain(char c) {
  return is_letter(c) || is_digit(c) || c == '.' || c == '-';
}

// A call sign's form, for a text of at least three characters (its length is checked
// first): letters, digits and single slashes only, with a letter and a digit among them; a
// leading digit followed by a letter, two leading letters by a digit; no slash at the end,
// and a letter at the end when there is no slash at all.
bool callsign_form_holds(std::string_view text) {
  bool letter = false, digit = false, slash = false;
  char previous = '\0';
  for (char c : text) {
    if (c == '/') {
      if (previous == '/') return false;
      slash = true;
    } else if (is_letter(c)) {
      letter = true;
    } else if (is_digit(c)) {
      digit = true;
    } else {
      return false;
    }
    previous = c;
  }
  if (!letter || !digit) return false;
  if (is_digit(text[0]) && !is_letter(text[1])) return false;
  if (is_letter(text[0]) && is_letter(text[1]) && !is_digit(text[2])) return false;
  if (text.back() == '/') return false;
  if (!slash && is_digit(text.back())) return false;
  return true;
}

}  // namespace

std::optional<std::string> check_callsign(std::string_view text) {
  if (text.size() >= 3 && callsign_form_holds(text)) return std::nullopt;
  return format_text("%s is not a valid callsign!", std::string(text).c_str());
}

// local '@' domain '.' 2 to 6 letters: '@' belongs to neither character set, so it occurs
// once; the letters after the final dot hold no dot, so that dot is the last one.
bool email_matches(std::string_view text) {
  const size_t at = text.find('@');
  if (at == std::string_view::npos || at == 0) return false;
  for (size_t i = 0; i < at; ++i)
    if (!in_local_part(text[i])) return false;
  const std::string_view domain = text.substr(at + 1);
  for (char c : domain)
    if (!in_domain(c)) return false;
  const size_t dot = domain.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return false;
  const std::string_view top = domain.substr(dot + 1);
  if (top.size() < 2 || top.size() > 6) return false;
  for (char c : top)
    if (!is_letter(c)) return false;
  return true;
}

std::optional<std::string> check_email(std::string_view text) {
  if (text.empty() || email_matches(text)) return std::nullopt;
  return format_text("%s does not appear to be a valid E-mail address!", std::string(text).c_str());
}

std::optional<std::string> check_cq_zone(const char* text) {
  if (text[0] == '\0') return std::nullopt;
  const int zone = std::atoi(text);
  if (zone >= 1 && zone <= 40) return std::nullopt;
  return format_text("%s is not a valid CQ Zone!", text);
}

bool country_requires_address(const OperatorConfig& record) {
  return std::strncmp(record.country, usa_country_name, sizeof record.country) == 0;
}

bool entry_requires_antenna(int entry_index) {
  return entry_index >= first_entry_needing_antenna;
}

}  // namespace tarvenix
