// The texts of network failures, checked through the reporting function itself; the texts
// of the failures the loopback tests provoke are pinned there.
#include <doctest/doctest.h>

#include <string>

#include "net/internet_error.h"
#include "test_support.h"

using namespace tarvenix;

TEST_CASE("a code's text: the failed step, the code's own line if any, then the URL") {
  const std::string long_url = "http://h/" + std::string(1000, 'a');  // beyond any fixed buffer
  struct Case {
    int code;
    std::string url, text;
  } cases[] = {
      {6, "http://h/p", "HttpSendRequest failed, error = 6\nERROR_INVALID_HANDLE\nhttp://h/p"},
      {12002, "", "HttpSendRequest failed, error = 12002\nThe request has timed out."},
      {12345, long_url, "HttpSendRequest failed, error = 12345\n" + long_url},
      {0, "", "HttpSendRequest failed, error = 0"},
      // Codes 2 and 122 show nothing without a URL and only the URL with one.
      {2, "", ""},
      {122, "", ""},
      {2, "http://h/p", "\nhttp://h/p"},
      {122, "http://h/p", "\nhttp://h/p"},
  };
  for (const Case& c : cases) {
    CAPTURE(c.code);
    CAPTURE(c.url);
    tarvenix::test::CapturedErrors errors;
    set_last_internet_error(c.code);
    CHECK(report_internet_error(nullptr, "HttpSendRequest", c.url) == c.code);
    REQUIRE(errors.shown.size() == (c.text.empty() ? 0u : 1u));
    if (c.text.empty()) continue;
    CHECK(errors.shown[0].caption == "Internet error");
    CHECK(errors.shown[0].text == c.text);
  }
}
