// fetch against the loopback test server, on this platform's backend (WinInet under Wine,
// libcurl on Linux). The hostile servers are met by the bad-call list's download, tested in
// tests/badcalls.
#include <doctest/doctest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "net/fetch.h"
#include "test_support.h"

using namespace tarvenix;
using namespace tarvenix::test;

namespace {

// Hands each block on, recording its size; refuses the block after `accepted` blocks.
struct BlockSink final : Sink {
  std::vector<size_t> blocks;
  std::string bytes;
  size_t accepted = SIZE_MAX;
  bool write(const char* data, size_t size) override {
    if (blocks.size() == accepted) return false;
    blocks.push_back(size);
    bytes.append(data, size);
    return true;
  }
};

// A GET of the test server's `route`. It asks for https of an https server with useHttps
// off, which must fall back to the plain http the server speaks.
FetchResult get(std::string_view route, Sink* body, const char* port = "TARVENIX_TEST_HTTP_PORT") {
  WebServer server = loopback_server(port);
  server.https = true;
  return fetch(WebUrl{server, std::string(route)}, false, FetchLimits{}, body);
}

// The failure's text, which must name `route` on `port`.
void check_failure(const FetchResult& result, const std::string& first_lines,
                   std::string_view route, const char* port = "TARVENIX_TEST_HTTP_PORT") {
  CHECK(fetch_failure_text(result) ==
        first_lines + "\nhttp://127.0.0.1:" + std::to_string(loopback_server(port).port) + "/" +
            std::string(route));
}

}  // namespace

TEST_CASE("a 10,000-byte body arrives whole in blocks of at most 4096 bytes") {
  BlockSink sink;
  FetchResult result = get("bytes/10000/file.bin", &sink);
  CHECK((result.status == 200 && result.status_text == "OK" && !result.failed()));
  CHECK(result.last_modified == "Tue, 01 Oct 2024 12:00:00 GMT");
  CHECK(sink.bytes == server_pattern(10000));
  for (size_t size : sink.blocks) CHECK((size > 0 && size <= 4096));
  BlockSink refusing;  // a sink that refuses a block stops the body, and that is no failure
  refusing.accepted = 1;
  CHECK_FALSE(get("bytes/10000/x", &refusing).failed());
  CHECK(refusing.blocks.size() == 1);
  CHECK(get("status/404", &refusing).status == 404);  // nothing read but the head
  CHECK(refusing.blocks.size() == 1);
}

TEST_CASE("a closed port fails with the text of code 12029") {
  FetchResult result = get("resources/all-bad-calls.json", nullptr, "TARVENIX_TEST_CLOSED_PORT");
  CHECK((result.failed() && result.error == 12029 && result.status == 0));
  check_failure(
      result, "HttpSendRequest failed, error = 12029\nThe attempt to connect to the server failed.",
      "resources/all-bad-calls.json", "TARVENIX_TEST_CLOSED_PORT");
}

TEST_CASE("up to ten redirects are followed, an eleventh is refused") {
  std::string path = "bytes/5/x";
  for (int redirects = 1; redirects <= 10; ++redirects) path = "redirect/" + path;
  StringSink body;
  CHECK_FALSE(get(path, &body).failed());
  CHECK(body.bytes() == server_pattern(5));
  path = "redirect/" + path;
  check_failure(get(path, &body),
                "HttpSendRequest failed, error = 12156\nThe server redirected the request too "
                "often or to an insecure address.",
                path);
}

TEST_CASE("a body that breaks off fails after what arrived") {
  StringSink body;
  check_failure(
      get("truncated/resources/all-bad-calls.json", &body),
      "InternetReadFile failed, error = 12031\nThe connection with the server has been reset.",
      "truncated/resources/all-bad-calls.json");
  CHECK((body.bytes().size() < 10000 && body.bytes() == server_pattern(body.bytes().size())));
}
