// QSO dates and their text, formatted by hand: printf costs more than the rest of a QSO.
#include "evaluation/qso_date.h"

#include "evaluation/field_numbers.h"

namespace tarvenix {

QsoDate qso_date_of(std::string_view value) {
  const int32_t n = leading_int(value);
  return {n / 10000, n % 10000 / 100, n % 100};
}

namespace {

// Appends `value` as "%0<width>d" does: sign first, zeros up to `width` characters in all.
char* append_padded(char* out, int32_t value, int width) {
  int64_t magnitude = value;
  if (value < 0) {
    *out++ = '-';
    magnitude = -magnitude;
    --width;
  }
  char digits[12];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  for (int i = count; i < width; ++i) *out++ = '0';
  while (count > 0) *out++ = digits[--count];
  return out;
}

}  // namespace

DateText::DateText(const QsoDate& date) {
  if (date.year >= 0 && date.year <= 9999 && date.month >= 0 && date.month <= 99 && date.day >= 0 &&
      date.day <= 99) {
    // Every date of a sound log: ten characters in fixed places.
    const auto two_digits = [this](int32_t n) {
      text_[size_++] = static_cast<char>('0' + n / 10);
      text_[size_++] = static_cast<char>('0' + n % 10);
    };
    two_digits(date.year / 100);
    two_digits(date.year % 100);
    text_[size_++] = '-';
    two_digits(date.month);
    text_[size_++] = '-';
    two_digits(date.day);
    return;
  }
  char full[40];  // "-2147483648" and two "-99" parts fit easily
  char* end = append_padded(full, date.year, 4);
  *end++ = '-';
  end = append_padded(end, date.month, 2);
  *end++ = '-';
  end = append_padded(end, date.day, 2);
  size_ = static_cast<size_t>(end - full);
  if (size_ > date_text_max) size_ = date_text_max;
  for (size_t i = 0; i < size_; ++i) text_[i] = full[i];
}

}  // namespace tarvenix
