// HTTP dates: the one fixed form, read as UTC whatever the local time zone.
#include <doctest/doctest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "net/http_date.h"

using namespace tarvenix;

namespace {

// Switches the C library's local time zone for the life of the object.
class LocalTimeZone {
 public:
  explicit LocalTimeZone(const char* zone) {
    const char* before = std::getenv("TZ");
    had_zone_ = before != nullptr;
    if (had_zone_) previous_ = before;
    set(zone);
  }
  ~LocalTimeZone() { set(had_zone_ ? previous_.c_str() : nullptr); }
  LocalTimeZone(const LocalTimeZone&) = delete;
  LocalTimeZone& operator=(const LocalTimeZone&) = delete;

 private:
  static void set(const char* zone) {
#ifdef _WIN32
    _putenv_s("TZ", zone ? zone : "");
    _tzset();
#else
    if (zone) {
      setenv("TZ", zone, 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
#endif
  }

  bool had_zone_ = false;
  std::string previous_;
};

}  // namespace

TEST_CASE("an HTTP date gives the same instant in every local time zone") {
  for (const char* zone : {"UTC0", "EST5EDT", "CET-1CEST", "NZST-12NZDT", "IST-5:30"}) {
    CAPTURE(zone);
    LocalTimeZone local(zone);
    CHECK(parse_http_date("Tue, 01 Oct 2024 12:00:00 GMT") == 1727784000);
  }
}

TEST_CASE("the classic example date") {
  CHECK(parse_http_date("Sun, 06 Nov 1994 08:49:37 GMT") == 784111777);
}

TEST_CASE("a month word in lower case gives January") {
  CHECK(parse_http_date("Tue, 01 oct 2024 12:00:00 GMT") == 1704110400);
}

TEST_CASE("the zone word is not read") {
  CHECK(parse_http_date("Tue, 01 Oct 2024 12:00:00 +0200") == 1727784000);
  CHECK(parse_http_date("Tue, 01 Oct 2024 12:00:00") == 1727784000);
}

TEST_CASE("a leap day and the turn of a year") {
  CHECK(parse_http_date("Thu, 29 Feb 2024 00:00:00 GMT") == 1709164800);
  CHECK(parse_http_date("Thu, 01 Jan 1970 00:00:00 GMT") == 0);
  CHECK(parse_http_date("Wed, 31 Dec 1969 23:59:59 GMT") == -1);
}

TEST_CASE("out-of-range fields carry over like a calendar conversion") {
  // Day 0 is the last day of the month before; hour 24 is the next day's midnight.
  CHECK(parse_http_date("Mon, 00 Oct 2024 12:00:00 GMT") ==
        parse_http_date("Mon, 30 Sep 2024 12:00:00 GMT"));
  CHECK(parse_http_date("Mon, 30 Sep 2024 24:00:00 GMT") ==
        parse_http_date("Tue, 01 Oct 2024 00:00:00 GMT"));
  CHECK(parse_http_date("Mon, 31 Sep 2024 00:00:60 GMT") ==
        parse_http_date("Tue, 01 Oct 2024 00:01:00 GMT"));
}

TEST_CASE("missing or broken fields read as 0 and never crash") {
  CHECK(parse_http_date("Tue, 01 Oct 2024") == 1727740800);
  CHECK(parse_http_date("Tue, xx Oct 2024 12:00:00 GMT") ==
        parse_http_date("Mon, 30 Sep 2024 12:00:00 GMT"));
  CHECK(parse_http_date("") == parse_http_date("x, 0 Jan 0 0:0:0"));
  CHECK(parse_http_date("Tue, 99999999999 Oct 99999999999 99999999999:0:0") > 0);
}
