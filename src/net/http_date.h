// The HTTP date of a response header (Last-Modified), as seconds since 1970 UTC.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarvenix {

// Reads the fixed form "Sun, 06 Nov 1994 08:49:37 GMT": tokens cut at spaces, colons and
// commas; the weekday and everything after the seconds (the zone word included) are not
// read, the time is always UTC. Numbers are read like atoi (no digits give 0); a month word
// other than "Jan".."Dec" (case included) gives January. Out-of-range fields carry over the
// way a calendar conversion normalises them (day 0 is the last day of the month before).
// The local time zone plays no part.
int64_t parse_http_date(std::string_view text);

// True only for the whole fixed form: a weekday word, ", ", two-digit day, month word,
// four-digit year, "hh:mm:ss" and "GMT", single spaces between, nothing after.
bool is_full_http_date(std::string_view text);

}  // namespace tarvenix
