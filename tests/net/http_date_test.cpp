// HTTP dates: the one fixed form, read as UTC whatever the local time zone.
#include <doctest/doctest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "net/http_date.h"

using namespace tarvenix;

namespace {

// Switches the C library's local time zone; no other test of this program reads local time.
void set_local_time_zone(const char* zone) {
#ifdef _WIN32
  _putenv_s("TZ", zone);
  _tzset();
#else
  setenv("TZ", zone, 1);
  tzset();
#endif
}

}  // namespace

// Read in a zone far from UTC, with daylight saving: none of them may shift.
TEST_CASE("dates, and what a broken one reads as, in any local time zone") {
  struct Case {
    const char* text;
    int64_t seconds;
  } cases[] = {
      {"Sun, 06 Nov 1994 08:49:37 GMT", 784111777},
      {"Thu, 29 Feb 2024 00:00:00 GMT", 1709164800},
      {"Sat, 01 Mar 2025 00:00:00 GMT", 1740787200},
      {"Thu, 01 Jan 1970 00:00:00 GMT", 0},
      {"Wed, 31 Dec 1969 23:59:59 GMT", -1},
      {"Tue, 01 oct 2024 12:00:00 GMT", 1704110400},    // an unknown month word is January
      {"Tue, 01 Oct 2024 12:00:00 +0200", 1727784000},  // the zone word is not read
      {"Tue, 01 Oct 2024 12:00:00", 1727784000},
      // Out-of-range fields carry over like a calendar conversion.
      {"Mon, 00 Oct 2024 12:00:00 GMT", 1727697600},  // 30 Sep 12:00
      {"Mon, 30 Sep 2024 24:00:00 GMT", 1727740800},  // 1 Oct 00:00
      {"Mon, 31 Sep 2024 00:00:60 GMT", 1727740860},  // 1 Oct 00:01
      {"Tue, -1 Oct 2024 12:00:00 GMT", 1727611200},  // 29 Sep 12:00
      // Missing or broken fields read as 0 and never crash.
      {"Tue, 01 Oct 2024", 1727740800},
      {"Tue, xx Oct 2024 12:00:00 GMT", 1727697600},
      {"", -62167305600},  // day 0 of January of the year 0
      {"x, 0 Jan 0 0:0:0", -62167305600},
      {"Tue, 99999999999 Oct 99999999999 99999999999:0:0", 67961249753727600},  // saturated
  };
  for (const char* zone : {"NZST-12NZDT", "EST5EDT"}) {
    set_local_time_zone(zone);
    for (const Case& c : cases) {
      CAPTURE(zone);
      CAPTURE(c.text);
      CHECK(parse_http_date(c.text) == c.seconds);
    }
  }
}
