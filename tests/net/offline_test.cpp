// The network layer's rules that need no server: URLs, HTTP dates (read as UTC whatever
// the local time zone), the texts of failures, and the update's date form and executable
// check.
#include <doctest/doctest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>

#include "net/http_date.h"
#include "net/internet_error.h"
#include "net/program_update.h"
#include "net/web_endpoints.h"
#include "test_support.h"

using namespace tarvenix;
using namespace tarvenix::test;

TEST_CASE("a full URL keeps its path without the leading slash; hosts take - and _") {
  const WebUrl url =
      parse_web_url("http://Loop-back_z1:9/resources/all-bad-calls.json?x=1").value_or(WebUrl{});
  CHECK((url.server.port == 9 && url.path == "resources/all-bad-calls.json?x=1"));
  CHECK_FALSE(parse_web_server("http://127.0.0.1:9/resources/all-bad-calls.json"));
}

TEST_CASE("malformed URLs are refused") {
  for (const char* text : {"", "www.dxtarvenix.org", "ftp://host", "http://", "http:///path",
                           "http://host:", "http://host:0", "http://host:65536", "http://host:80x",
                           "http://user@host", "http://ho st", "http://[::1]:80", "https//host"}) {
    CAPTURE(text);
    CHECK_FALSE(parse_web_url(text));
  }
}

TEST_CASE("the scheme and port a request uses, and how its authority is shown") {
  using Str = const char*;
  // The server, useHttps, then whether it is secure, its port, scheme and authority.
  const std::tuple<Str, bool, bool, uint16_t, Str, Str> cases[] = {
      {"https://www.dxtarvenix.org", true, true, 443, "https", "www.dxtarvenix.org"},
      {"https://www.dxtarvenix.org", false, false, 80, "http", "www.dxtarvenix.org"},
      {"http://127.0.0.1", true, false, 80, "http", "127.0.0.1"},  // stays http
      {"https://127.0.0.1:8443", true, true, 8443, "https", "127.0.0.1:8443"},
      {"https://127.0.0.1:8443", false, false, 8443, "http", "127.0.0.1:8443"},
      {"http://127.0.0.1:80", true, false, 80, "http", "127.0.0.1"},
      {"HTTP://127.0.0.1:8080/", true, false, 8080, "http", "127.0.0.1:8080"},
  };
  for (const auto& [server, useHttps, secure, port, scheme, authority] : cases) {
    INFO(server, " ", useHttps);
    RequestTarget target = resolve_request_target(*parse_web_server(server), useHttps);
    CHECK((target.secure == secure && target.port == port));
    CHECK(request_scheme(target) == scheme);
    CHECK(request_authority(target) == authority);
  }
}

// Read in a zone far from UTC, with daylight saving: none of them may shift.
TEST_CASE("dates, and what a broken one reads as, in any local time zone") {
  const std::pair<const char*, int64_t> cases[] = {
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
    // Switches the C library's local time zone; no other test of this program reads it.
#ifdef _WIN32
    _putenv_s("TZ", zone);
    _tzset();
#else
    setenv("TZ", zone, 1);
    tzset();
#endif
    for (const auto& [text, seconds] : cases) {
      INFO(zone, " ", text);
      CHECK(parse_http_date(text) == seconds);
    }
  }
}

TEST_CASE("a code's text: the failed step, the code's own line if any, then the URL") {
  const std::string long_url = "http://h/" + std::string(1000, 'a');  // beyond any fixed buffer
  const std::tuple<int, std::string, std::string> cases[] = {
      {6, "http://h/p", "HttpSendRequest failed, error = 6\nERROR_INVALID_HANDLE\nhttp://h/p"},
      {12345, long_url, "HttpSendRequest failed, error = 12345\n" + long_url},
      // Codes 2 and 122 have no text: without a URL nothing is shown (see update_test).
      {2, "", ""},
      {122, "", ""},
      {2, "http://h/p", "\nhttp://h/p"},
      {122, "http://h/p", "\nhttp://h/p"},
  };
  for (const auto& [code, url, text] : cases) {
    INFO(code, " ", url);
    CHECK(internet_error_text("HttpSendRequest", code, url) == text);
  }
}

TEST_CASE("only the whole fixed HTTP date form counts as a full date") {
  CHECK((is_full_http_date("Tue, 01 Oct 2024 12:00:00 GMT") &&
         is_full_http_date("Sun, 06 Nov 1994 08:49:37 GMT")));
  for (const char* text : {"Tue, 01 Oct 2024", "Tue, 01 oct 2024 12:00:00 GMT",
                           "Tue, 1 Oct 2024 12:00:00 GMT", "Tue, 01 Oct 2024 12:00:00 GMT ",
                           "Tuesday, 01-Oct-24 12:00:00 GMT", "Tue, 01 Oct 2024 12:00:00 CET",
                           "Tue, 01 Oct 2024 12-00-00 GMT", "Tue, 0x Oct 2024 12:00:00 GMT", ""}) {
    CAPTURE(text);
    CHECK_FALSE(is_full_http_date(text));
  }
}

TEST_CASE("an image needs an MZ header pointing at a PE signature") {
  ScratchFolder folder;
  auto mz_header = [](uint32_t at) {
    return "MZ" + std::string(0x3A, '\0') +
           std::string{char(at), char(at >> 8), char(at >> 16), char(at >> 24)};
  };
  const std::string image = mz_header(0x40) + std::string("PE\0\0", 4) + std::string(20, '\x01');
  auto check = [&](const std::string& bytes) {
    const std::string path = folder.file("image.bin");
    write_file(path, bytes);
    return is_windows_executable(path);
  };
  CHECK(check(image));
  CHECK_FALSE(check(""));
  CHECK_FALSE(check(image.substr(0, image.size() - 1)));  // file header cut short
  CHECK_FALSE(check(mz_header(0x40) + "NE\0\0" + std::string(20, '\x01')));
  CHECK_FALSE(check(mz_header(0xFFFFFFF0u) + std::string("PE\0\0", 4)));
  CHECK_FALSE(check("ZM" + image.substr(2)));
  CHECK_FALSE(is_windows_executable(folder.file("missing.bin")));
}
