// The entry checks: call-sign form, the e-mail pattern (against std::regex on many short
// texts, and on long ones) and the CQ Zone range. The country and entry rules are pinned
// through the required-field walk in field_table_test.cpp.
#include <doctest/doctest.h>

// See call_patterns_test.cpp: a false alarm of GCC 12 in libstdc++'s regex compiler.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include <functional>
#include <regex>
#include <string>

#include "ui/entry_checks.h"

using namespace tarvenix;

TEST_CASE("the call signs the operator may enter are valid") {
  for (const char* c : {"W1AW", "DL1ABC", "3DA0X", "VP2E/W1AW", "W1AW/1", "/W1AW", "K1A", "w1aw"})
    CHECK_MESSAGE(!check_callsign(c).has_value(), c);
}

TEST_CASE("malformed call signs give the callsign message") {
  for (const char* c : {"K1", "ABC1", "W1AW1", "W1AW/", "W1AW//P", "1A", "W1-AW", "", "WWW", "123",
                        "11A", "W1 AW", "W1AW\xC4", "//", "1/A"}) {
    CHECK_MESSAGE(check_callsign(c) == std::string(c) + " is not a valid callsign!", c);
  }
}

TEST_CASE("the e-mail address is optional and checked by its form") {
  for (const char* e : {"", "w1aw@arrl.org", "W1AW@ARRL.ORG", "a.b-c_d%e+f@mail-1.example.museum",
                        "z9@y.Zz", "x@y.abcdef", "x@-.de", "x@..de", ".@a.de"})
    CHECK_MESSAGE(!check_email(e).has_value(), e);
  for (const char* e : {"w1aw.arrl.org", "w1aw@arrl.o", "w1aw@arrl.abcdefg", "w 1aw@arrl.org",
                        "w1aw@arrl", "@arrl.org", "w1aw@.org", "a@b@c.de", "a@b.d1", "a@b_c.de",
                        "a@b.de ", "\xE9@b.de", "a@b.d\xE9"}) {
    CHECK_MESSAGE(
        check_email(e) == std::string(e) + " does not appear to be a valid E-mail address!", e);
  }
}

namespace {

void expect_same_as_regex(const std::string& text) {
  static const std::regex pattern("^[A-Z0-9._%+-]+@[A-Z0-9.-]+\\.[A-Z]{2,6}$",
                                  std::regex::ECMAScript | std::regex::icase);
  REQUIRE_MESSAGE(email_matches(text) == std::regex_match(text, pattern), text);
}

}  // namespace

TEST_CASE("the e-mail matcher agrees with the regular expression on every short text") {
  const std::string alphabet = std::string("aZ0.@-%_ \xE9") + '\0';
  std::string text;
  std::function<void(size_t)> extend = [&](size_t left) {
    expect_same_as_regex(text);
    if (left == 0) return;
    for (char c : alphabet) {
      text.push_back(c);
      extend(left - 1);
      text.pop_back();
    }
  };
  extend(4);
}

TEST_CASE("a megabyte of e-mail text is judged in one pass") {
  const std::string many(1 << 20, 'a');
  CHECK_FALSE(email_matches(many));
  CHECK(email_matches(many + "@" + many + ".de"));
  CHECK_FALSE(email_matches(many + "@" + many + ".d"));
  std::string dots;
  for (int i = 0; i < (1 << 19); ++i) dots += "a.";
  CHECK(email_matches("x@" + dots + "org"));
  CHECK_FALSE(email_matches("x@" + dots + "orgorgo"));
  CHECK(check_email(many).has_value());
}

TEST_CASE("a CQ Zone is valid when empty or 1 to 40") {
  for (const char* z : {"", "1", "40", "05", "7"}) CHECK_MESSAGE(!check_cq_zone(z), z);
  for (const char* z : {"0", "41", "123", "00"}) {
    CHECK_MESSAGE(check_cq_zone(z) == std::string(z) + " is not a valid CQ Zone!", z);
  }
}
