// The date of a QSO: its QSO_DATE value read as the integer YYYYMMDD, and the date text
// "%04d-%02d-%02d" that the run log and the bad-call list use. Made without allocating, and
// safe for any value (the text is cut to 11 characters).
#pragma once

#include <cstdint>
#include <string_view>

namespace tarvenix {

struct QsoDate {
  int32_t year = 0;
  int32_t month = 0;  // -99 to 99; 1 to 12 in a correct log
  int32_t day = 0;    // -99 to 99
};

// The value's leading integer n (saturated to 32 bits) split as n / 10000, n % 10000 / 100
// and n % 100, truncating toward zero.
QsoDate qso_date_of(std::string_view value);

inline constexpr size_t date_text_max = 11;

class DateText {
 public:
  DateText() = default;
  explicit DateText(const QsoDate& date);  // "%04d-%02d-%02d", at most 11 characters
  std::string_view view() const { return {text_, size_}; }

 private:
  char text_[date_text_max + 1] = {};
  size_t size_ = 0;
};

}  // namespace tarvenix
