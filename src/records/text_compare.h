// Digits and case folding of the letters A to Z only, the same in every locale: ADIF names,
// file extensions, URL schemes and list entries are compared this way.
#pragma once

#include <string>
#include <string_view>

namespace tarvenix {

inline bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// A to Z in either case.
inline bool is_letter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

inline char ascii_lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline char ascii_upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Byte-for-byte equality ignoring the case of the letters A to Z.
inline bool equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  }
  return true;
}

inline std::string lower_ascii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = ascii_lower(c);
  return lower;
}

}  // namespace tarvenix
