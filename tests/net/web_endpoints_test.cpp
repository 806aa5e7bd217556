// Server URLs: what parses, and which scheme and port a request really uses.
#include <doctest/doctest.h>

#include "net/web_endpoints.h"

using namespace tarvenix;

TEST_CASE("a server URL gives its scheme, host and port") {
  auto server = parse_web_server("https://www.dxtarvenix.org");
  REQUIRE(server);
  CHECK(server->https);
  CHECK(server->host == "www.dxtarvenix.org");
  CHECK(server->port == 0);

  server = parse_web_server("HTTP://127.0.0.1:8080/");
  REQUIRE(server);
  CHECK_FALSE(server->https);
  CHECK(server->host == "127.0.0.1");
  CHECK(server->port == 8080);
}

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

TEST_CASE("https uses port 443 while useHttps is on and falls back to http on 80") {
  WebServer server = *parse_web_server("https://www.dxtarvenix.org");
  RequestTarget secure = resolve_request_target(server, true);
  CHECK(secure.secure);
  CHECK(secure.port == 443);
  CHECK(request_scheme(secure) == "https");
  RequestTarget plain = resolve_request_target(server, false);
  CHECK_FALSE(plain.secure);
  CHECK(plain.port == 80);
  CHECK(request_scheme(plain) == "http");
}

TEST_CASE("an http server stays http whatever useHttps says") {
  WebServer server = *parse_web_server("http://127.0.0.1");
  CHECK_FALSE(resolve_request_target(server, true).secure);
  CHECK(resolve_request_target(server, true).port == 80);
}

TEST_CASE("a port given in the URL is kept and shown; the scheme's own port is not") {
  WebServer server = *parse_web_server("https://127.0.0.1:8443");
  CHECK(resolve_request_target(server, false).port == 8443);
  CHECK(request_authority(resolve_request_target(server, true)) == "127.0.0.1:8443");
  WebServer plain = *parse_web_server("http://127.0.0.1:80");
  CHECK(request_authority(resolve_request_target(plain, true)) == "127.0.0.1");
}

TEST_CASE("the default endpoints are the build's servers with HTTPS on") {
  WebEndpoints endpoints = default_web_endpoints();
  CHECK(endpoints.useHttps);
  auto contest = parse_web_server(TARVENIX_CONTEST_URL);
  auto author = parse_web_server(TARVENIX_AUTHOR_URL);
  REQUIRE(contest);
  REQUIRE(author);
  CHECK(endpoints.contestHost.host == contest->host);
  CHECK(endpoints.contestHost.https == contest->https);
  CHECK(endpoints.contestHost.port == contest->port);
  CHECK(endpoints.authorHost.host == author->host);
  CHECK(endpoints.updatePath == "software/tarvenix/tarvenix.exe");
}
