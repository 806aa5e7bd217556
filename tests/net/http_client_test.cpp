// The HTTP client of this platform (WinInet under Wine, libcurl on Linux) against the
// loopback test server.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "net/http_client.h"
#include "test_support.h"

using namespace tarvenix;
using namespace tarvenix::test;

namespace {

// What every case here starts with: captured error boxes, a scratch folder, a session.
struct ClientTest {
  CapturedErrors errors;
  ScratchFolder folder;
  InternetSession session = open_internet();

  // A GET to the test server's `route`. It asks for https of an https server with useHttps
  // off, which must fall back to the plain http the server speaks.
  HttpRequest open(std::string_view route, const char* port = "TARVENIX_TEST_HTTP_PORT") {
    WebServer server = loopback_server(port);
    server.https = true;
    return open_url(&errors, session, server, route, false);
  }

  // The one error box shown, to `owner`, which must be an Internet error naming `route`.
  void check_error(const std::string& first_lines, std::string_view route, void* owner,
                   const char* port = "TARVENIX_TEST_HTTP_PORT") {
    REQUIRE(errors.shown.size() == 1);
    CHECK(errors.shown[0].owner == owner);
    CHECK(errors.shown[0].caption == "Internet error");
    CHECK(errors.shown[0].text ==
          first_lines + "\nhttp://127.0.0.1:" + std::to_string(loopback_server(port).port) + "/" +
              std::string(route));
  }
};

}  // namespace

TEST_CASE_FIXTURE(ClientTest, "a 10,000-byte body arrives whole in blocks of at most 4096 bytes") {
  HttpRequest request = open("bytes/10000/file.bin");
  REQUIRE(request);
  CHECK(query_response_header(request, ResponseHeader::last_modified) ==
        "Tue, 01 Oct 2024 12:00:00 GMT");
  CHECK(query_response_header(request, ResponseHeader::content_length) == "10000");
  std::vector<size_t> blocks;
  std::string body;
  CHECK(read_response_body(nullptr, request, [&](const char* data, size_t size) {
    blocks.push_back(size);
    body.append(data, size);
    return true;
  }));
  CHECK(body == server_pattern(10000));
  CHECK(blocks.size() >= 3);
  for (size_t size : blocks) CHECK((size > 0 && size <= 4096));
  request = open("bytes/10000/x");  // a sink that refuses a block stops the copy
  int calls = 0;
  CHECK_FALSE(
      read_response_body(nullptr, request, [&](const char*, size_t) { return ++calls < 0; }));
  CHECK(calls == 1);
  CHECK(errors.shown.empty());
}

TEST_CASE_FIXTURE(ClientTest, "a closed port gives the text of code 12029 to the owner's box") {
  CHECK_FALSE(open("resources/all-bad-calls.json", "TARVENIX_TEST_CLOSED_PORT"));
  check_error("HttpSendRequest failed, error = 12029\nThe attempt to connect to the server failed.",
              "resources/all-bad-calls.json", &errors, "TARVENIX_TEST_CLOSED_PORT");
  CHECK(last_internet_error() == 12029);
}

TEST_CASE_FIXTURE(ClientTest, "up to ten redirects are followed, an eleventh is refused") {
  std::string path = "bytes/5/x";
  for (int redirects = 1; redirects <= 10; ++redirects) path = "redirect/" + path;
  HttpRequest request = open(path);
  REQUIRE(request);
  CHECK(download_to_file(nullptr, request, folder.file("five.bin")) == 0);
  CHECK(read_file(folder.file("five.bin")) == server_pattern(5));
  path = "redirect/" + path;
  CHECK_FALSE(open(path));
  check_error(
      "HttpSendRequest failed, error = 12156\nThe server redirected the request too often "
      "or to an insecure address.",
      path, &errors);
}

TEST_CASE_FIXTURE(ClientTest, "a 404 page is a successful request whose body replaces a file") {
  HttpRequest request = open("status/404/resources/all-bad-calls.json");
  CHECK(response_status(request) == 404);  // its status text and no date: see the update check
  std::string local = folder.file("page.html");
  write_file(local, std::string(20000, 'x'));
  CHECK(download_to_file(nullptr, request, local) == 0);
  CHECK(read_file(local) == "<html><body><h1>Error 404</h1></body></html>");
  CHECK(errors.shown.empty());
}

TEST_CASE_FIXTURE(ClientTest,
                  "a body that breaks off is reported and what arrived stays in the file") {
  std::string local = folder.file("partial.bin");
  HttpRequest request = open("truncated/resources/all-bad-calls.json");
  CHECK(download_to_file(nullptr, request, local) == 1);
  check_error(
      "InternetReadFile failed, error = 12031\nThe connection with the server has been reset.",
      "truncated/resources/all-bad-calls.json", nullptr);
  std::string partial = read_file(local);
  CHECK(partial.size() < 10000);
  CHECK(partial == server_pattern(partial.size()));
}

TEST_CASE_FIXTURE(ClientTest, "a local file that cannot be created is told under CreateFile") {
  std::string local = folder.file("missing-folder/all-bad-calls.json");
  HttpRequest request = open("bytes/10/x");
  CHECK(download_to_file(nullptr, request, local) == 1);
  REQUIRE(errors.shown.size() == 1);
  CHECK(errors.shown[0].caption == "CreateFile");
  CHECK(errors.shown[0].text == "ERROR: Unable to open file \"" + local + "\" for write.");
}
