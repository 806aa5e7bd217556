// Against the loopback test server: the HTTP client of this platform (WinInet under Wine,
// libcurl on Linux), the newer-version check and the download of a new program. The
// download's failures are those of the bad-call list's, tested in tests/badcalls.
#include <doctest/doctest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "net/http_client.h"
#include "net/program_update.h"
#include "test_support.h"

using namespace tarvenix;
using namespace tarvenix::test;

namespace {

// The test server's Last-Modified for its program files: Tue, 01 Oct 2024 12:00:00 GMT.
constexpr int64_t served_time = 1727784000;

// What every case here starts with: captured error boxes, a scratch folder with an old
// program in it, a session.
struct LoopbackTest {
  CapturedErrors errors;
  ScratchFolder folder;
  InternetSession session = open_internet();
  std::string program_dir = folder.file("Program.Files") + "/";
  std::string program = program_dir + "tarvenix.exe";

  LoopbackTest() {
    std::filesystem::create_directories(program_dir);
    write_file(program, "old program");
  }

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

  // Endpoints whose update path starts with the server's `route`; the closed port for "".
  static WebEndpoints endpoints(std::string_view route) {
    return {.authorHost = loopback_server(route.empty() ? "TARVENIX_TEST_CLOSED_PORT"
                                                        : "TARVENIX_TEST_HTTP_PORT"),
            .updatePath = std::string(route) + "/software/tarvenix/tarvenix.exe"};
  }

  // The update check against `route` with the old program dated `seconds`.
  UpdateCheck check(std::string_view route, int64_t seconds = 0) {
    using namespace std::chrono;
    std::filesystem::last_write_time(program, file_clock::from_sys(sys_seconds(seconds * 1s)));
    return newer_version_available(nullptr, program, endpoints(route));
  }
};

}  // namespace

TEST_CASE_FIXTURE(LoopbackTest,
                  "a 10,000-byte body arrives whole in blocks of at most 4096 bytes") {
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
  for (size_t size : blocks) CHECK((size > 0 && size <= 4096));
  request = open("bytes/10000/x");  // a sink that refuses a block stops the copy
  int calls = 0;
  CHECK_FALSE(
      read_response_body(nullptr, request, [&](const char*, size_t) { return ++calls < 0; }));
  CHECK(calls == 1);
  CHECK(errors.shown.empty());
}

TEST_CASE_FIXTURE(LoopbackTest, "a closed port gives the text of code 12029 to the owner's box") {
  CHECK_FALSE(open("resources/all-bad-calls.json", "TARVENIX_TEST_CLOSED_PORT"));
  check_error("HttpSendRequest failed, error = 12029\nThe attempt to connect to the server failed.",
              "resources/all-bad-calls.json", &errors, "TARVENIX_TEST_CLOSED_PORT");
  CHECK(last_internet_error() == 12029);
}

TEST_CASE_FIXTURE(LoopbackTest, "up to ten redirects are followed, an eleventh is refused") {
  std::string path = "bytes/5/x";
  for (int redirects = 1; redirects <= 10; ++redirects) path = "redirect/" + path;
  HttpRequest request = open(path);
  REQUIRE(request);
  write_file(folder.file("five.bin"), std::string(20000, 'x'));  // replaced, not kept
  CHECK(download_to_file(nullptr, request, folder.file("five.bin")) == 0);
  CHECK(read_file(folder.file("five.bin")) == server_pattern(5));
  path = "redirect/" + path;
  CHECK_FALSE(open(path));
  check_error(
      "HttpSendRequest failed, error = 12156\nThe server redirected the request too often "
      "or to an insecure address.",
      path, &errors);
}

TEST_CASE_FIXTURE(LoopbackTest,
                  "a body that breaks off is told and what arrived stays in the file") {
  std::string local = folder.file("partial.bin");
  HttpRequest request = open("truncated/resources/all-bad-calls.json");
  CHECK(download_to_file(nullptr, request, local) == 1);
  check_error(
      "InternetReadFile failed, error = 12031\nThe connection with the server has been reset.",
      "truncated/resources/all-bad-calls.json", nullptr);
  std::string partial = read_file(local);
  CHECK((partial.size() < 10000 && partial == server_pattern(partial.size())));
}

TEST_CASE_FIXTURE(LoopbackTest, "a local file that cannot be created is told under CreateFile") {
  std::string local = folder.file("missing-folder/all-bad-calls.json");
  HttpRequest request = open("bytes/10/x");
  CHECK(download_to_file(nullptr, request, local) == 1);
  REQUIRE(errors.shown.size() == 1);
  CHECK(errors.shown[0].caption == "CreateFile");
  CHECK(errors.shown[0].text == "ERROR: Unable to open file \"" + local + "\" for write.");
}

TEST_CASE_FIXTURE(LoopbackTest, "only a program file on the server newer than ours is newer") {
  for (int64_t local : {served_time - 1, served_time, served_time + 3600}) {
    CAPTURE(local);
    const UpdateCheck result = check("pe-image", local);
    CHECK(result.newer == (local < served_time));
    CHECK(result.error_text.empty());
  }
  CHECK(errors.shown.empty());
}

TEST_CASE_FIXTURE(LoopbackTest, "an answer without a usable date is told, never compared") {
  const std::string unreadable = "The date of the program file on the server could not be read: ";
  const std::pair<std::string, std::string> cases[] = {
      {"status/403",
       "HTTP Error 403 - Forbidden\n"
       "You do not have permission to access tarvenix.exe on the remote server!"},
      {"html", "HTTP Error 200 - OK"},                     // no Last-Modified
      {"dated-status/404", "HTTP Error 404 - Not Found"},  // an error page's date
      {"last-modified/Tuesday%2C%2001%20October%202024%2012%3A00%3A00%20GMT",
       unreadable + "Tuesday, 01 October 2024 12:00:00 GMT"},
      {"last-modified/Tue%2C%2001%20Oct%202024", unreadable + "Tue, 01 Oct 2024"},
      {"last-modified/garbage", unreadable + "garbage"},
  };
  for (const auto& [route, text] : cases) {
    CAPTURE(route);
    const UpdateCheck result = check(route);  // an old program of 1970
    CHECK_FALSE(result.newer);
    CHECK(result.error_text == text);
  }
}

TEST_CASE_FIXTURE(LoopbackTest, "a check or download that fails on the network says so") {
  const UpdateCheck result = check("");
  CHECK((result.network_failed && result.error_text.empty() && !errors.shown.empty()));
  CHECK_FALSE(download_update(nullptr, program_dir, endpoints("")));
  CHECK(count_files(program_dir) == 1);  // the old program only
}

TEST_CASE_FIXTURE(LoopbackTest, "a program image is downloaded into a new file in its folder") {
  const auto update = download_update(nullptr, program_dir, endpoints("pe-image"));
  REQUIRE(update);
  CHECK(std::filesystem::path(*update).parent_path() ==
        std::filesystem::path(program_dir).parent_path());
  CHECK(std::filesystem::file_size(*update) == 288);
  CHECK(errors.shown.empty());
  for (const char* route : {"bytes/300", "status/404"}) {  // not a program image
    CAPTURE(route);
    CHECK_FALSE(download_update(nullptr, program_dir, endpoints(route)));
    CHECK(count_files(program_dir) == 2);
  }
}
