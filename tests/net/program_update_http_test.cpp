// The newer-version check and the download of a new program against the loopback server.
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

  // Endpoints whose update path starts with the server's route.
  static WebEndpoints endpoints(std::string_view route) {
    WebUrl url = test_server_url(std::string(route) + "/software/tarvenix/tarvenix.exe");
    WebEndpoints endpoints;
    endpoints.authorHost = url.server;
    endpoints.updatePath = url.path;
    return endpoints;
  }

  UpdateCheck check(std::string_view route) {
    return newer_version_available(nullptr, program, endpoints(route));
  }

  std::vector<std::string> files_in_program_dir() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(program_dir))
      names.push_back(entry.path().filename().string());
    return names;
  }
};

}  // namespace

TEST_CASE_FIXTURE(UpdateTest, "a program file on the server newer than ours is a newer version") {
  set_program_time(served_time - 1);
  const UpdateCheck result = check("pe-image");
  CHECK(result.newer);
  CHECK(result.error_text.empty());
  CHECK_FALSE(result.network_failed);
  CHECK(errors.shown.empty());
}

TEST_CASE_FIXTURE(UpdateTest, "a program file as old as ours or older is no newer version") {
  for (int64_t local : {served_time, served_time + 3600}) {
    set_program_time(local);
    const UpdateCheck result = check("pe-image");
    CHECK_FALSE(result.newer);
    CHECK(result.error_text.empty());
    CHECK_FALSE(result.network_failed);
  }
}

TEST_CASE_FIXTURE(UpdateTest, "a 403 without Last-Modified gives the permission text") {
  const UpdateCheck result = check("status/403");
  CHECK_FALSE(result.newer);
  CHECK(result.error_text ==
        "HTTP Error 403 - Forbidden\n"
        "You do not have permission to access tarvenix.exe on the remote server!");
}

TEST_CASE_FIXTURE(UpdateTest, "a 200 without Last-Modified gives the status text") {
  const UpdateCheck result = check("html");
  CHECK_FALSE(result.newer);
  CHECK(result.error_text == "HTTP Error 200 - OK");
}

TEST_CASE_FIXTURE(UpdateTest, "an error page with a Last-Modified date is never compared") {
  set_program_time(0);
  const UpdateCheck result = check("dated-status/404");
  CHECK_FALSE(result.newer);
  CHECK(result.error_text == "HTTP Error 404 - Not Found");
}

TEST_CASE_FIXTURE(UpdateTest, "an overlong or partial Last-Modified value is no newer version") {
  set_program_time(0);
  for (const char* route : {"last-modified/Tuesday%2C%2001%20October%202024%2012%3A00%3A00%20GMT",
                            "last-modified/Tue%2C%2001%20Oct%202024", "last-modified/garbage"}) {
    CAPTURE(route);
    const UpdateCheck result = check(route);
    CHECK_FALSE(result.newer);
    CHECK(result.error_text.rfind("The date of the program file on the server could not be read: ",
                                  0) == 0);
    CHECK(result.error_text.size() < 260);
  }
}

TEST_CASE_FIXTURE(UpdateTest, "a check that fails on the network says so and has no text") {
  WebEndpoints closed;
  closed.authorHost = closed_loopback_server();
  closed.updatePath = "software/tarvenix/tarvenix.exe";
  const UpdateCheck result = newer_version_available(nullptr, program, closed);
  CHECK(result.network_failed);
  CHECK_FALSE(result.newer);
  CHECK(result.error_text.empty());
  REQUIRE_FALSE(errors.shown.empty());
  CHECK(errors.shown.front().caption == "Internet error");
}

TEST_CASE_FIXTURE(UpdateTest, "a program image is downloaded into dxt*.tmp in the program folder") {
  const auto update = download_update(nullptr, program_dir, endpoints("pe-image"));
  REQUIRE(update);
  const std::filesystem::path file(*update);
  CHECK(std::filesystem::exists(std::filesystem::path(program_dir) / file.filename()));
  CHECK(file.filename().string().rfind("dxt", 0) == 0);
  CHECK(file.extension() == ".tmp");
  CHECK(is_windows_executable(*update));
  CHECK(std::filesystem::file_size(file) == 288);
  CHECK(errors.shown.empty());
}

TEST_CASE_FIXTURE(UpdateTest, "a download that is not a whole program image is deleted") {
  for (const char* route : {"html", "mz-only", "status/404", "dated-status/500", "truncated"}) {
    CAPTURE(route);
    CHECK_FALSE(download_update(nullptr, program_dir, endpoints(route)));
    CHECK(files_in_program_dir() == std::vector<std::string>{"tarvenix.exe"});
  }
}

TEST_CASE_FIXTURE(UpdateTest, "a download that fails on the network leaves no file behind") {
  WebEndpoints closed;
  closed.authorHost = closed_loopback_server();
  closed.updatePath = "software/tarvenix/tarvenix.exe";
  CHECK_FALSE(download_update(nullptr, program_dir, closed));
  CHECK(files_in_program_dir() == std::vector<std::string>{"tarvenix.exe"});
  CHECK_FALSE(errors.shown.empty());
}
