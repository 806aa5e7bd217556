// Server URLs: what parses, and which scheme and port a request really uses.
#include <doctest/doctest.h>

#include "net/web_endpoints.h"

using namespace tarvenix;

TEST_CASE("a full URL keeps its path without the leading slash") {
  auto url = parse_web_url("http://127.0.0.1:9/resources/all-bad-calls.json?x=1");
  REQUIRE(url);
  CHECK(url->server.port == 9);
  CHECK(url->path == "resources/all-bad-calls.json?x=1");
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
  struct Case {
    const char* server;
    bool useHttps, secure;
    uint16_t port;
    const char *scheme, *authority;
  } cases[] = {
      {"https://www.dxtarvenix.org", true, true, 443, "https", "www.dxtarvenix.org"},
      {"https://www.dxtarvenix.org", false, false, 80, "http", "www.dxtarvenix.org"},
      {"http://127.0.0.1", true, false, 80, "http", "127.0.0.1"},  // stays http
      {"https://127.0.0.1:8443", true, true, 8443, "https", "127.0.0.1:8443"},
      {"https://127.0.0.1:8443", false, false, 8443, "http", "127.0.0.1:8443"},
      {"http://127.0.0.1:80", true, false, 80, "http", "127.0.0.1"},
      {"HTTP://127.0.0.1:8080/", true, false, 8080, "http", "127.0.0.1:8080"},
  };
  for (const Case& c : cases) {
    CAPTURE(c.server);
    CAPTURE(c.useHttps);
    RequestTarget target = resolve_request_target(*parse_web_server(c.server), c.useHttps);
    CHECK(target.secure == c.secure);
    CHECK(target.port == c.port);
    CHECK(request_scheme(target) == c.scheme);
    CHECK(request_authority(target) == c.authority);
  }
}
