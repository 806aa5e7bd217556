// The texts of network failures, checked through the reporting function itself; the texts
// of the failures the loopback tests provoke are pinned there.
#include <doctest/doctest.h>

#include <cstdio>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "net/internet_error.h"
#include "test_support.h"

using namespace tarvenix;
using tarvenix::test::CapturedErrors;

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
    CapturedErrors errors;
    set_last_internet_error(c.code);
    CHECK(report_internet_error("HttpSendRequest", c.url) == c.code);
    REQUIRE(errors.shown.size() == (c.text.empty() ? 0u : 1u));
    if (c.text.empty()) continue;
    CHECK(errors.shown[0].caption == "Internet error");
    CHECK(errors.shown[0].text == c.text);
  }
}

#ifndef _WIN32
TEST_CASE("without a replacement, an error is one text on standard error") {
  std::FILE* capture = std::tmpfile();
  REQUIRE(capture != nullptr);
  std::fflush(stderr);
  int saved = dup(fileno(stderr));
  dup2(fileno(capture), fileno(stderr));
  set_last_internet_error(12029);
  report_internet_error("InternetConnect", "http://127.0.0.1:9/x");
  std::fflush(stderr);
  dup2(saved, fileno(stderr));
  close(saved);
  std::rewind(capture);
  char text[256] = {};
  size_t size = std::fread(text, 1, sizeof text - 1, capture);
  std::fclose(capture);
  CHECK(std::string(text, size) ==
        "InternetConnect failed, error = 12029\nThe attempt to connect to the server failed.\n"
        "http://127.0.0.1:9/x\n");
}
#endif
