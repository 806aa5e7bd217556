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

bool is_month_word(std::string_view word) {
  return std::find(month_words.begin(), month_words.end(), word) != month_words.end();
}

bool is_weekday_word(std::string_view word) {
  constexpr std::array<std::string_view, 7> weekdays = {"Mon", "Tue", "Wed", "Thu",
                                                        "Fri", "Sat", "Sun"};
  return std::find(weekdays.begin(), weekdays.end(), word) != weekdays.end();
}

bool all_digits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
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

bool is_full_http_date(std::string_view text) {
  // "Sun, 06 Nov 1994 08:49:37 GMT"
  constexpr size_t length = 29;
  if (text.size() != length) return false;
  auto part = [&](size_t at, size_t size) { return text.substr(at, size); };
  return is_weekday_word(part(0, 3)) && part(3, 2) == ", " && all_digits(part(5, 2)) &&
         text[7] == ' ' && is_month_word(part(8, 3)) && text[11] == ' ' &&
         all_digits(part(12, 4)) && text[16] == ' ' && all_digits(part(17, 2)) && text[19] == ':' &&
         all_digits(part(20, 2)) && text[22] == ':' && all_digits(part(23, 2)) &&
         part(25, 4) == " GMT";
}

}  // namespace tarvenix
