// The texts of network failures, checked through the reporting function itself.
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

namespace {

// Reports `code` as the last failure and returns what was shown (one box at most).
std::string shown_for(int code, std::string_view url = {}) {
  CapturedErrors errors;
  set_last_internet_error(code);
  CHECK(report_internet_error(nullptr, "HttpSendRequest", url) == code);
  REQUIRE(errors.shown.size() <= 1);
  if (errors.shown.empty()) return "<nothing shown>";
  CHECK(errors.shown[0].caption == "Internet error");
  return errors.shown[0].text;
}

}  // namespace

TEST_CASE("each known code has its own second line, then the URL") {
  const char* url = "https://www.example.invalid/resources/all-bad-calls.json";
  const std::string tail = std::string("\n") + url;
  CHECK(shown_for(6, url) == "HttpSendRequest failed, error = 6\nERROR_INVALID_HANDLE" + tail);
  CHECK(shown_for(12002, url) ==
        "HttpSendRequest failed, error = 12002\nThe request has timed out." + tail);
  CHECK(shown_for(12007, url) ==
        "HttpSendRequest failed, error = 12007\nThe server name could not be resolved." + tail);
  CHECK(shown_for(12029, url) ==
        "HttpSendRequest failed, error = 12029\nThe attempt to connect to the server failed." +
            tail);
  CHECK(shown_for(12031, url) ==
        "HttpSendRequest failed, error = 12031\nThe connection with the server has been reset." +
            tail);
  CHECK(shown_for(12057, url) ==
        "HttpSendRequest failed, error = 12057\nRevocation of the SSL certificate failed." + tail);
  CHECK(shown_for(12157, url) ==
        "HttpSendRequest failed, error = 12157\nInternal error loading the SSL libraries." + tail);
}

TEST_CASE("any other code gives the bare failure line") {
  CHECK(shown_for(12345, "http://h/p") == "HttpSendRequest failed, error = 12345\nhttp://h/p");
  CHECK(shown_for(0) == "HttpSendRequest failed, error = 0");
}

TEST_CASE("codes 2 and 122 show nothing without a URL and only the URL with one") {
  CHECK(shown_for(2) == "<nothing shown>");
  CHECK(shown_for(122, "") == "<nothing shown>");
  CHECK(shown_for(2, "http://h/p") == "\nhttp://h/p");
  CHECK(shown_for(122, "http://h/p") == "\nhttp://h/p");
}

TEST_CASE("the step name starts the text and the owner window is passed on") {
  CapturedErrors errors;
  int owner_marker = 0;
  set_last_internet_error(12029);
  report_internet_error(&owner_marker, "InternetConnect", "http://h");
  REQUIRE(errors.shown.size() == 1);
  CHECK(errors.shown[0].owner == &owner_marker);
  CHECK(errors.shown[0].text.rfind("InternetConnect failed, error = 12029\n", 0) == 0);
}

TEST_CASE("a URL longer than any fixed buffer is kept whole") {
  std::string url = "http://h/" + std::string(1000, 'a');
  CHECK(internet_error_text("InternetReadFile", 12345, url) ==
        "InternetReadFile failed, error = 12345\n" + url);
}

TEST_CASE("a replaced presenter is restored when the capture ends") {
  std::vector<std::string> outer;
  ErrorPresenter before = set_error_presenter(
      [&](OwnerWindow, std::string_view, std::string_view text) { outer.emplace_back(text); });
  {
    CapturedErrors inner;
    present_error(nullptr, "c", "inner");
    CHECK(inner.shown.size() == 1);
  }
  present_error(nullptr, "c", "outer");
  set_error_presenter(std::move(before));
  CHECK(outer == std::vector<std::string>{"outer"});
}

#ifndef _WIN32
TEST_CASE("without a replacement, an error is one text on standard error") {
  std::FILE* capture = std::tmpfile();
  REQUIRE(capture != nullptr);
  std::fflush(stderr);
  int saved = dup(fileno(stderr));
  dup2(fileno(capture), fileno(stderr));
  set_last_internet_error(12029);
  report_internet_error(nullptr, "HttpSendRequest", "http://127.0.0.1:9/x");
  std::fflush(stderr);
  dup2(saved, fileno(stderr));
  close(saved);
  std::rewind(capture);
  char text[256] = {};
  size_t size = std::fread(text, 1, sizeof text - 1, capture);
  std::fclose(capture);
  CHECK(std::string(text, size) ==
        "HttpSendRequest failed, error = 12029\nThe attempt to connect to the server failed.\n"
        "http://127.0.0.1:9/x\n");
}
#endif
