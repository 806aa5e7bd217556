// Against the loopback test server: fetch on this platform's backend (WinInet under Wine,
// libcurl on Linux), the newer-version check and the download of a new program. The
// download's failures are those of the bad-call list's, tested in tests/badcalls.
#include <doctest/doctest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "net/fetch.h"
#include "net/program_update.h"
#include "test_support.h"

using namespace tarvenix;
using namespace tarvenix::test;

namespace {

// The test server's Last-Modified for its program files: Tue, 01 Oct 2024 12:00:00 GMT.
constexpr int64_t served_time = 1727784000;

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

// What every case here starts with: captured failures and a scratch folder with an old
// program in it.
struct LoopbackTest {
  CapturedErrors errors;
  ScratchFolder folder;
  std::string program_dir = folder.file("Program.Files") + "/";
  std::string program = program_dir + "tarvenix.exe";

  LoopbackTest() {
    std::filesystem::create_directories(program_dir);
    write_file(program, "old program");
  }

  // A GET of the test server's `route`. It asks for https of an https server with useHttps
  // off, which must fall back to the plain http the server speaks.
  FetchResult get(std::string_view route, Sink* body,
                  const char* port = "TARVENIX_TEST_HTTP_PORT") {
    WebServer server = loopback_server(port);
    server.https = true;
    return fetch(WebUrl{server, std::string(route)}, false, FetchLimits{}, body);
  }

  // The failure's text, which must name `route` on `port`.
  static void check_failure(const FetchResult& result, const std::string& first_lines,
                            std::string_view route, const char* port = "TARVENIX_TEST_HTTP_PORT") {
    CHECK(fetch_failure_text(result) ==
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
    return newer_version_available(errors.network, program, endpoints(route));
  }
};

}  // namespace

TEST_CASE_FIXTURE(LoopbackTest,
                  "a 10,000-byte body arrives whole in blocks of at most 4096 bytes") {
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

TEST_CASE_FIXTURE(LoopbackTest, "a closed port fails with the text of code 12029") {
  FetchResult result = get("resources/all-bad-calls.json", nullptr, "TARVENIX_TEST_CLOSED_PORT");
  CHECK((result.failed() && result.error == 12029 && result.status == 0));
  check_failure(
      result, "HttpSendRequest failed, error = 12029\nThe attempt to connect to the server failed.",
      "resources/all-bad-calls.json", "TARVENIX_TEST_CLOSED_PORT");
}

TEST_CASE_FIXTURE(LoopbackTest, "up to ten redirects are followed, an eleventh is refused") {
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

TEST_CASE_FIXTURE(LoopbackTest, "a body that breaks off fails after what arrived") {
  StringSink body;
  check_failure(
      get("truncated/resources/all-bad-calls.json", &body),
      "InternetReadFile failed, error = 12031\nThe connection with the server has been reset.",
      "truncated/resources/all-bad-calls.json");
  CHECK((body.bytes().size() < 10000 && body.bytes() == server_pattern(body.bytes().size())));
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
  CHECK((result.network_failed && result.error_text.empty()));
  const std::string cannot_connect =
      " failed, error = 12029\nThe attempt to connect to the server failed.";
  REQUIRE(errors.shown.size() == 2);  // the failure with its URL, then once more without
  const WebEndpoints closed = endpoints("");
  CHECK(errors.shown[0].text == "HttpSendRequest" + cannot_connect +
                                    "\nhttp://127.0.0.1:" + std::to_string(closed.authorHost.port) +
                                    "/" + closed.updatePath);
  CHECK(errors.shown[1].text == "HttpSendRequestInternetConnect" + cannot_connect);
  CHECK(errors.shown[1].caption == "Internet error");
  CHECK_FALSE(download_update(errors.network, program_dir, endpoints("")));
  CHECK(count_files(program_dir) == 1);  // the old program only
}

TEST_CASE_FIXTURE(LoopbackTest, "a program image is downloaded into a new file in its folder") {
  const auto update = download_update(errors.network, program_dir, endpoints("pe-image"));
  REQUIRE(update);
  CHECK(std::filesystem::path(*update).parent_path() ==
        std::filesystem::path(program_dir).parent_path());
  CHECK(std::filesystem::file_size(*update) == 288);
  CHECK(errors.shown.empty());
  for (const char* route : {"bytes/300", "status/404"}) {  // not a program image
    CAPTURE(route);
    CHECK_FALSE(download_update(errors.network, program_dir, endpoints(route)));
    CHECK(count_files(program_dir) == 2);
  }
}
