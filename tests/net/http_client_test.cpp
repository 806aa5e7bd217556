// The HTTP client of this platform (WinInet under Wine, libcurl on Linux) against the
// loopback test server.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "net/http_client.h"
#include "net/http_date.h"
#include "test_support.h"

using namespace tarvenix;
using namespace tarvenix::test;

namespace {

// A sent GET to the test server's `route`; must succeed.
HttpRequest open_test_request(const InternetSession& session, std::string_view route) {
  WebUrl url = test_server_url(route);
  HttpRequest request = open_url(nullptr, session, url.server, url.path, true);
  REQUIRE(request);
  return request;
}

// What every case here starts with: captured error boxes, a scratch folder, a session.
struct ClientTest {
  CapturedErrors errors;
  ScratchFolder folder;
  InternetSession session = open_internet();
  std::vector<size_t> blocks;  // sizes of the blocks read_body saw

  // The whole body through read_response_body, or "<failed>".
  std::string read_body(HttpRequest& request) {
    std::string body;
    bool whole = read_response_body(nullptr, request, [&](const char* data, size_t size) {
      blocks.push_back(size);
      body.append(data, size);
      return true;
    });
    return whole ? body : "<failed>";
  }
};

std::string test_url_text(std::string_view route) {
  WebUrl url = test_server_url(route);
  return "http://127.0.0.1:" + std::to_string(url.server.port) + "/" + url.path;
}

}  // namespace

TEST_CASE_FIXTURE(ClientTest, "a 10,000-byte body arrives whole in blocks of at most 4096 bytes") {
  REQUIRE(session);
  HttpRequest request = open_test_request(session, "bytes/10000/file.bin");
  CHECK(read_body(request) == server_pattern(10000));
  CHECK(blocks.size() >= 3);
  for (size_t size : blocks) CHECK((size > 0 && size <= 4096));
  CHECK(errors.shown.empty());
}

TEST_CASE_FIXTURE(ClientTest, "download_to_file replaces an existing file with exactly the body") {
  std::string local = folder.file("download.bin");
  write_file(local, std::string(20000, 'x'));
  HttpRequest request = open_test_request(session, "bytes/10000/file.bin");
  CHECK(download_to_file(nullptr, request, local) == 0);
  CHECK(read_file(local) == server_pattern(10000));
  CHECK(errors.shown.empty());
}

TEST_CASE_FIXTURE(ClientTest, "an empty body gives an empty file") {
  std::string local = folder.file("empty.bin");
  HttpRequest request = open_test_request(session, "bytes/0/file.bin");
  CHECK(download_to_file(nullptr, request, local) == 0);
  CHECK(read_file(local).empty());
}

TEST_CASE_FIXTURE(ClientTest, "a closed loopback port gives the text of code 12029 with the URL") {
  WebServer server = closed_loopback_server();
  HttpRequest request = open_url(nullptr, session, server, "resources/all-bad-calls.json", true);
  CHECK_FALSE(request);
  REQUIRE(errors.shown.size() == 1);
  CHECK(errors.shown[0].caption == "Internet error");
  CHECK(errors.shown[0].text ==
        "HttpSendRequest failed, error = 12029\nThe attempt to connect to the server failed.\n"
        "http://127.0.0.1:" +
            std::to_string(server.port) + "/resources/all-bad-calls.json");
  CHECK(last_internet_error() == 12029);
}

TEST_CASE_FIXTURE(ClientTest, "a 404 page is a successful request whose body is copied") {
  HttpRequest request = open_test_request(session, "status/404/resources/all-bad-calls.json");
  CHECK(response_status(request) == 404);
  CHECK(query_response_header(request, ResponseHeader::status_code) == "404");
  CHECK(query_response_header(request, ResponseHeader::status_text) == "Not Found");
  std::string local = folder.file("page.html");
  CHECK(download_to_file(nullptr, request, local) == 0);
  CHECK(read_file(local) == "<html><body><h1>Error 404</h1></body></html>");
  CHECK(errors.shown.empty());
}

TEST_CASE_FIXTURE(ClientTest, "a 403 answer gives its status and text") {
  HttpRequest request = open_test_request(session, "status/403/software/tarvenix/tarvenix.exe");
  CHECK(response_status(request) == 403);
  CHECK(query_response_header(request, ResponseHeader::status_text) == "Forbidden");
  CHECK_FALSE(query_response_header(request, ResponseHeader::last_modified));
}

TEST_CASE_FIXTURE(ClientTest, "Last-Modified is read and converted to the server's instant") {
  HttpRequest request = open_test_request(session, "bytes/10/tarvenix.exe");
  CHECK(response_status(request) == 200);
  auto last_modified = query_response_header(request, ResponseHeader::last_modified);
  REQUIRE(last_modified);
  CHECK(*last_modified == "Tue, 01 Oct 2024 12:00:00 GMT");
  CHECK(parse_http_date(*last_modified) == 1727784000);
  CHECK(query_response_header(request, ResponseHeader::content_length) == "10");
}

TEST_CASE_FIXTURE(ClientTest,
                  "a body that breaks off is reported and what arrived stays in the file") {
  std::string local = folder.file("partial.bin");
  HttpRequest request = open_test_request(session, "truncated/resources/all-bad-calls.json");
  CHECK(download_to_file(nullptr, request, local) == 1);
  REQUIRE(errors.shown.size() == 1);
  CHECK(errors.shown[0].caption == "Internet error");
  CHECK(errors.shown[0].text ==
        "InternetReadFile failed, error = 12031\nThe connection with the server has been "
        "reset.\n" +
            test_url_text("truncated/resources/all-bad-calls.json"));
  std::string partial = read_file(local);
  CHECK(partial.size() < 10000);
  CHECK(partial == server_pattern(partial.size()));
}

TEST_CASE_FIXTURE(ClientTest, "a redirect is followed to its target") {
  HttpRequest request = open_test_request(session, "redirect/bytes/5/x");
  CHECK(response_status(request) == 200);
  CHECK(read_body(request) == server_pattern(5));
}

TEST_CASE_FIXTURE(ClientTest, "ten redirects are followed, an eleventh is refused") {
  auto route = [](int redirects) {
    std::string route;
    for (int i = 0; i < redirects; ++i) route += "redirect/";
    return route + "bytes/5/x";
  };
  HttpRequest request = open_test_request(session, route(10));
  CHECK(read_body(request) == server_pattern(5));
  CHECK_FALSE(open_url(nullptr, session, test_server_url(route(11)).server, route(11), true));
  REQUIRE(errors.shown.size() == 1);
  CHECK(errors.shown[0].text ==
        "HttpSendRequest failed, error = 12156\nThe server redirected the request too often or "
        "to an insecure address.\n" +
            test_url_text(route(11)));
}

TEST_CASE_FIXTURE(ClientTest, "an https server falls back to plain http when useHttps is off") {
  WebUrl url = test_server_url("bytes/3/x");
  url.server.https = true;
  HttpRequest request = open_url(nullptr, session, url.server, url.path, false);
  REQUIRE(request);
  CHECK(response_status(request) == 200);
  CHECK_FALSE(request.target().secure);
}

TEST_CASE_FIXTURE(ClientTest, "a local file that cannot be created is told under CreateFile") {
  std::string local = folder.file("missing-folder/all-bad-calls.json");
  HttpRequest request = open_test_request(session, "bytes/10/x");
  CHECK(download_to_file(nullptr, request, local) == 1);
  REQUIRE(errors.shown.size() == 1);
  CHECK(errors.shown[0].caption == "CreateFile");
  CHECK(errors.shown[0].text == "ERROR: Unable to open file \"" + local + "\" for write.");
}

TEST_CASE_FIXTURE(ClientTest, "a sink that refuses a block stops the copy") {
  HttpRequest request = open_test_request(session, "bytes/10000/x");
  int calls = 0;
  CHECK_FALSE(read_response_body(nullptr, request, [&](const char*, size_t) {
    ++calls;
    return false;
  }));
  CHECK(calls == 1);
  CHECK(errors.shown.empty());
}

TEST_CASE_FIXTURE(ClientTest, "the owner window is handed to the error box") {
  int owner_marker = 0;
  CHECK_FALSE(open_url(&owner_marker, session, closed_loopback_server(), "x", true));
  REQUIRE(errors.shown.size() == 1);
  CHECK(errors.shown[0].owner == &owner_marker);
}
