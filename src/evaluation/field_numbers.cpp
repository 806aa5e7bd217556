// Locale-independent number reading for field values.
#include "evaluation/field_numbers.h"

#include <charconv>
#include <limits>
#include <optional>

#include "records/text_compare.h"

namespace tarvenix {

namespace {

// The white space of isspace() in the "C" locale.
bool is_c_space(char ch) {
  return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

size_t skip_space(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && is_c_space(text[i])) ++i;
  return i;
}

// A plain decimal of at most 15 digits ("14.074000") read as its digits M over 10^k: both
// are exact doubles, and one division of exact doubles is rounded correctly, so the result
// is the very double strtod gives. Nothing for anything else (an exponent, more digits).
std::optional<double> plain_decimal(const char* first, const char* last) {
  static constexpr double powers_of_ten[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  int64_t digits = 0;
  int count = 0;
  int fraction = -1;  // digits after the point; -1 before it
  for (const char* p = first; p != last; ++p) {
    if (*p >= '0' && *p <= '9') {
      if (++count > 15) return std::nullopt;
      digits = digits * 10 + (*p - '0');
      if (fraction >= 0) ++fraction;
    } else if (*p == '.' && fraction < 0) {
      fraction = 0;
    } else {
      if (*p == 'e' || *p == 'E') return std::nullopt;
      break;
    }
  }
  if (count == 0) return std::nullopt;
  return static_cast<double>(digits) / powers_of_ten[fraction > 0 ? fraction : 0];
}

}  // namespace

int32_t leading_int(std::string_view text) {
  size_t i = skip_space(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr int64_t past_int32_max = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > past_int32_max)
      magnitude = past_int32_max;  // saturate; later digits cannot lower it
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

double leading_double(std::string_view text) {
  size_t i = skip_space(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  std::chars_format format = std::chars_format::general;
  if (last - first > 2 && first[0] == '0' && ascii_lower(first[1]) == 'x') {
    format = std::chars_format::hex;  // strtod reads "0x1.8p3"; from_chars wants it bare
    first += 2;
  }
  if (first != last && *first == '-') return 0;  // one sign only; from_chars takes its own
  if (format == std::chars_format::general) {
    if (const std::optional<double> plain = plain_decimal(first, last)) {
      return negative ? -*plain : *plain;
    }
  }
  double value = 0;
  const std::from_chars_result result = std::from_chars(first, last, value, format);
  if (result.ec != std::errc()) value = 0;  // no number, or out of the double range
  return negative ? -value : value;
}

}  // namespace tarvenix
