// The newer-version check and the download of a new program against the loopback server.
// The download's failures are those of the bad-call list's, tested in tests/badcalls.
#include <doctest/doctest.h>

#include <chrono>
#include <filesystem>

#include "net/program_update.h"
#include "test_support.h"

using namespace tarvenix;
using namespace tarvenix::test;

namespace {

// The test server's Last-Modified for its program files: Tue, 01 Oct 2024 12:00:00 GMT.
constexpr int64_t served_time = 1727784000;

struct UpdateTest {
  CapturedErrors errors;
  ScratchFolder folder;
  std::string program_dir = folder.file("Program.Files") + "/";
  std::string program = program_dir + "tarvenix.exe";

  UpdateTest() {
    std::filesystem::create_directories(program_dir);
    write_file(program, "old program");
  }

  void set_program_time(int64_t seconds) {
    using namespace std::chrono;
    std::filesystem::last_write_time(program, file_clock::from_sys(sys_seconds(seconds * 1s)));
  }

  // Endpoints whose update path starts with the server's `route`; the closed port for "".
  static WebEndpoints endpoints(std::string_view route) {
    WebEndpoints endpoints;
    endpoints.authorHost =
        loopback_server(route.empty() ? "TARVENIX_TEST_CLOSED_PORT" : "TARVENIX_TEST_HTTP_PORT");
    endpoints.updatePath = std::string(route) + "/software/tarvenix/tarvenix.exe";
    return endpoints;
  }

  UpdateCheck check(std::string_view route) {
    return newer_version_available(nullptr, program, endpoints(route));
  }
};

}  // namespace

TEST_CASE_FIXTURE(UpdateTest, "only a program file on the server newer than ours is newer") {
  for (int64_t local : {served_time - 1, served_time, served_time + 3600}) {
    CAPTURE(local);
    set_program_time(local);
    const UpdateCheck result = check("pe-image");
    CHECK(result.newer == (local < served_time));
    CHECK(result.error_text.empty());
  }
  CHECK(errors.shown.empty());
}

TEST_CASE_FIXTURE(UpdateTest, "an answer without a usable date is told, never compared") {
  set_program_time(0);
  const std::string unreadable = "The date of the program file on the server could not be read: ";
  struct Case {
    std::string route, text;
  } cases[] = {
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
  for (const Case& c : cases) {
    CAPTURE(c.route);
    const UpdateCheck result = check(c.route);
    CHECK_FALSE(result.newer);
    CHECK(result.error_text == c.text);
  }
}

TEST_CASE_FIXTURE(UpdateTest, "a check or download that fails on the network says so") {
  const UpdateCheck result = check("");
  CHECK(result.network_failed);
  CHECK(result.error_text.empty());
  CHECK_FALSE(errors.shown.empty());
  CHECK_FALSE(download_update(nullptr, program_dir, endpoints("")));
  CHECK(count_files(program_dir) == 1);  // the old program only
}

TEST_CASE_FIXTURE(UpdateTest, "a program image is downloaded into a new file in its folder") {
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
