// Call-sign matchers: fixed prefixes and suffixes, and runs of letters or digits.
#include "evaluation/call_patterns.h"

#include "records/text_compare.h"

namespace tarvenix {

namespace {

// `text` holds `pattern` (written in upper case) at `at`, ignoring the case of letters.
bool literal_at(std::string_view text, size_t at, std::string_view pattern) {
  if (text.size() < at || text.size() - at < pattern.size()) return false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (ascii_upper(text[at + i]) != pattern[i]) return false;
  }
  return true;
}

// `ch` in either case is one of the upper-case letters of `upper_set`.
bool one_of(char ch, std::string_view upper_set) {
  return upper_set.find(ascii_upper(ch)) != std::string_view::npos;
}

// Index of the first byte at or after `at` that is not a letter.
size_t skip_letters(std::string_view text, size_t at) {
  while (at < text.size() && is_letter(text[at])) ++at;
  return at;
}

// I[IJOPQRTUWZ]9[A-Z]+ from the start; the index after the letters, or 0 when it fails.
size_t sicily_stem(std::string_view call) {
  if (call.size() < 4 || ascii_upper(call[0]) != 'I' || !one_of(call[1], "IJOPQRTUWZ") ||
      call[2] != '9' || !is_letter(call[3]))
    return 0;
  return skip_letters(call, 3);
}

// <prefix>[A-Z]+ covering the whole call.
bool prefix_then_letters(std::string_view call, size_t prefix_size) {
  return call.size() > prefix_size && skip_letters(call, prefix_size) == call.size();
}

}  // namespace

bool is_vienna_call(std::string_view call) {
  if (!literal_at(call, 0, "4U")) return false;
  size_t i = 2;
  while (i < call.size() && is_digit(call[i])) ++i;
  return i > 2 && call.size() - i == 3 && literal_at(call, i, "VIC");
}

bool is_sicily_call(std::string_view call) {
  const size_t end = sicily_stem(call);
  return end != 0 && end == call.size();
}

bool is_sicily_portable_call(std::string_view call) {
  const size_t end = sicily_stem(call);
  return end != 0 && call.size() - end == 2 && call[end] == '/' && call[end + 1] >= '0' &&
         call[end + 1] <= '8';
}

bool has_african_italy_prefix(std::string_view call) {
  return call.size() >= 3 && ascii_upper(call[0]) == 'I' && one_of(call[1], "GH") && call[2] == '9';
}

bool has_african_italy_suffix(std::string_view call) {
  if (call.size() < 4) return false;
  const size_t at = call.size() - 4;
  return call[at] == '/' && ascii_upper(call[at + 1]) == 'I' && one_of(call[at + 2], "GH") &&
         call[at + 3] == '9';
}

bool is_european_turkey_call(std::string_view call) {
  return call.size() >= 3 && ascii_upper(call[0]) == 'T' && one_of(call[1], "ABC") &&
         call[2] == '1' && prefix_then_letters(call, 3);
}

bool is_ym1_call(std::string_view call) {
  return literal_at(call, 0, "YM1") && prefix_then_letters(call, 3);
}

bool has_call_area_1_suffix(std::string_view call) {
  return call.size() >= 2 && call.substr(call.size() - 2) == "/1";
}

}  // namespace tarvenix
