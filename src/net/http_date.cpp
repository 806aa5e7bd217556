// HTTP dates to seconds since 1970, by calendar arithmetic rather than the C library's
// local-time conversion, so that neither the time zone nor its daylight rule can shift it.
#include "net/http_date.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tarvenix {
namespace {

constexpr std::array<std::string_view, 12> month_words = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::vector<std::string_view> split_tokens(std::string_view text) {
  constexpr std::string_view delimiters = " :,";
  std::vector<std::string_view> tokens;
  size_t at = 0;
  while (at < text.size()) {
    size_t begin = text.find_first_not_of(delimiters, at);
    if (begin == std::string_view::npos) break;
    size_t end = text.find_first_of(delimiters, begin);
    if (end == std::string_view::npos) end = text.size();
    tokens.push_back(text.substr(begin, end - begin));
    at = end;
  }
  return tokens;
}

// atoi: optional blanks and sign, then digits up to the first other character. Saturates at
// the 32-bit range instead of overflowing, which keeps the arithmetic below in 64 bits.
int64_t leading_number(std::string_view token) {
  size_t at = 0;
  while (at < token.size() && (token[at] == ' ' || token[at] == '\t')) ++at;
  bool negative = false;
  if (at < token.size() && (token[at] == '+' || token[at] == '-')) negative = token[at++] == '-';
  int64_t value = 0;
  constexpr int64_t limit = 2147483647;
  for (; at < token.size() && token[at] >= '0' && token[at] <= '9'; ++at) {
    value = std::min(limit, value * 10 + (token[at] - '0'));
  }
  return negative ? -value : value;
}

int month_index(std::string_view word) {
  for (size_t i = 0; i < month_words.size(); ++i) {
    if (word == month_words[i]) return int(i);
  }
  return 0;
}

// Days from 1970-01-01 to the first of the month (month 0..11) of the proleptic Gregorian
// calendar (Howard Hinnant's days_from_civil).
int64_t days_to_month_start(int64_t year, int month) {
  int64_t y = month < 2 ? year - 1 : year;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t year_of_era = y - era * 400;
  int64_t shifted_month = month < 2 ? month + 10 : month - 2;
  int64_t day_of_year = (153 * shifted_month + 2) / 5;
  int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

}  // namespace

int64_t parse_http_date(std::string_view text) {
  std::vector<std::string_view> tokens = split_tokens(text);
  auto token = [&](size_t index) { return index < tokens.size() ? tokens[index] : ""; };
  // Token 0 is the weekday.
  int64_t day = leading_number(token(1));
  int month = month_index(token(2));
  int64_t year = leading_number(token(3));
  int64_t hour = leading_number(token(4));
  int64_t minute = leading_number(token(5));
  int64_t second = leading_number(token(6));
  int64_t days = days_to_month_start(year, month) + day - 1;
  return ((days * 24 + hour) * 60 + minute) * 60 + second;
}

}  // namespace tarvenix
