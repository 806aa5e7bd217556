// Numbers from field values read like atoi/strtod in the "C" locale, without overflow; the
// date text equals printf's "%04d-%02d-%02d" cut to 11 characters.
#include <doctest/doctest.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "evaluation/field_numbers.h"
#include "evaluation/qso_date.h"

using namespace tarvenix;

TEST_CASE("leading integers read like atoi, and saturate at the 32-bit range") {
  for (const char* s : {"20240315", "  -42xyz", "+7", "\t\n 12", "", "abc", "-", "+-3", "20m"})
    CHECK_MESSAGE(leading_int(s) == std::atoi(s), s);
  CHECK(leading_int("2147483647") == std::numeric_limits<int32_t>::max());
  CHECK(leading_int("2147483648") == std::numeric_limits<int32_t>::max());
  CHECK(leading_int("-2147483648") == std::numeric_limits<int32_t>::min());
  CHECK(leading_int("-99999999999999999999999") == std::numeric_limits<int32_t>::min());
  CHECK(leading_int(std::string(100000, '9')) == std::numeric_limits<int32_t>::max());
  CHECK(leading_int(std::string_view("123456").substr(0, 3)) == 123);  // read only within the view
  CHECK(leading_double(std::string_view("123456").substr(0, 2)) == 12.0);
  CHECK(DateText(qso_date_of("99999999999999")).view() == "214748-36-4");  // a saturated date
}

TEST_CASE("leading doubles read like strtod") {
  const char* samples[] = {"14.074",  " 14.2",    "+7.0", "-3.5",    "1e1",      "5.3MHz",
                           "abc",     "",         ".5",   "5.",      "0x1p4",    "0x",
                           "0x1.8p1", "1e",       "1e+",  "inf",     "-INF",     "+-1",
                           "0x-1",    "  \t28.5", "144",  "7.074.1", "00014.350"};
  for (const char* s : samples) CHECK_MESSAGE(leading_double(s) == std::strtod(s, nullptr), s);
  CHECK(leading_double("nan") != leading_double("nan"));
  CHECK(leading_double("1e999") == 0);  // beyond the range of double
  CHECK(leading_double("1e-999") == 0);
}

TEST_CASE("the date text equals printf's for any value, cut to 11 characters") {
  constexpr int32_t lo = std::numeric_limits<int32_t>::min();
  constexpr int32_t hi = std::numeric_limits<int32_t>::max();
  std::mt19937 random(1234);
  std::uniform_int_distribution<int64_t> any(lo, hi);
  std::vector<int32_t> values = {0, 1, -1, 99, -99, 100, 9999, -10000, 20240315, -20240315, hi, lo};
  for (int i = 0; i < 20000; ++i) values.push_back(static_cast<int32_t>(any(random)));
  for (int32_t n : values) {
    const std::string text = std::to_string(n);
    const QsoDate date = qso_date_of(text);
    char expected[64];
    std::snprintf(expected, sizeof expected, "%04d-%02d-%02d", date.year, date.month, date.day);
    CAPTURE(n);
    CHECK(DateText(date).view() == std::string(expected).substr(0, 11));
  }
}
