// The bad-call list download against the loopback test server: what replaces the local
// copy, what keeps it, and what the run log says.
#include <doctest/doctest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "badcalls/bad_call_fetch.h"
#include "net/request_limits.h"
#include "net/test_support.h"

using namespace tarvenix;
using namespace tarvenix::test;

namespace {

// The good copy a previous run left: one entry.
constexpr const char* previous_copy =
    R"({"entries": [{"callsign": "OLD1", "category": "B", "startOn": "2024-01-01",)"
    R"( "endOn": "2024-12-31", "notes": ""}]})";

// One run's surroundings: an output folder, its run log, captured error boxes.
struct FetchRun {
  ScratchFolder folder;
  CapturedErrors errors;
  RunLog log;
  std::string output = folder.file("results.xlsx");
  std::string local = folder.file("all-bad-calls.json");

  FetchRun() { REQUIRE(log.open(folder.file("results.log"))); }

  BadCallList fetch(std::string_view route) {
    WebUrl url = test_server_url(std::string(route) + "/resources/all-bad-calls.json");
    return fetch_bad_calls(nullptr, output, url, true, log);
  }
  BadCallList fetch_from(const WebServer& server) {
    return fetch_bad_calls(nullptr, output, WebUrl{server, std::string(bad_calls_path)}, true, log);
  }
  std::string log_text() {
    log.sync();
    return read_text_file(log.temporary_path());
  }
  bool download_left_behind() const {
    for (const auto& entry : std::filesystem::directory_iterator(folder.file(""))) {
      if (entry.path().filename().string().starts_with("all-bad-calls.json.tmp")) return true;
    }
    return false;
  }
};

const std::string separator = "========================================\n";

// A failed download with a previous copy: the copy stays, is loaded, and one warning says
// so.
void check_previous_copy_kept(FetchRun& run, const BadCallList& list, const std::string& why) {
  CHECK(read_file(run.local) == previous_copy);
  CHECK(find_bad_call(list, "OLD1", "2024-06-01") != nullptr);
  CHECK(run.log.warnings == 1);
  std::string text = run.log_text();
  CHECK(text.find("WARN:\tNo new bad-call list (" + why + "); using the copy of ") == 0);
  CHECK(text.find("Read 1 bad callsigns from " + run.local + "\n") != std::string::npos);
  CHECK(text.size() >= separator.size());
  CHECK(text.substr(text.size() - separator.size()) == separator);
  CHECK_FALSE(run.download_left_behind());
}

}  // namespace

TEST_CASE("a JSON list from the server is loaded and kept beside the output") {
  FetchRun run;
  write_file(run.local, previous_copy);
  BadCallList list = run.fetch("json-object");
  CHECK(list.size() == 2);
  const BadCallEntry* entry = find_bad_call(list, "K1ABC", "2024-06-01");
  REQUIRE(entry != nullptr);
  CHECK(entry->category == 'B');
  CHECK(find_bad_call(list, "OLD1", "2024-06-01") == nullptr);
  CHECK(read_file(run.local).find("W9XYZ") != std::string::npos);
  CHECK(run.log_text() == "Read 2 bad callsigns from " + run.local + "\n" + separator);
  CHECK(run.log.warnings == 0);
  CHECK(run.errors.shown.empty());
  CHECK_FALSE(run.download_left_behind());
}

TEST_CASE("a 404 page keeps the previous copy and writes the warning") {
  FetchRun run;
  write_file(run.local, previous_copy);
  BadCallList list = run.fetch("status/404");
  check_previous_copy_kept(run, list, "HTTP status 404");
  CHECK(run.errors.shown.empty());
}

TEST_CASE("a captive portal's HTML page keeps the previous copy and writes the warning") {
  FetchRun run;
  write_file(run.local, previous_copy);
  BadCallList list = run.fetch("html");
  check_previous_copy_kept(run, list, "not a JSON object");
}

TEST_CASE("a JSON value that is not an object keeps the previous copy and writes the warning") {
  FetchRun run;
  write_file(run.local, previous_copy);
  BadCallList list = run.fetch("json-list");
  check_previous_copy_kept(run, list, "not a JSON object");
}

// Limits short enough that each hostile server below is done with in seconds.
struct ShortLimits {
  RequestLimits previous =
      set_request_limits({std::chrono::seconds(1), std::chrono::seconds(2), 10, int64_t(64) << 10});
  ~ShortLimits() { set_request_limits(previous); }
};

TEST_CASE("a hostile server ends within the limits, is shown, and keeps the previous copy") {
  struct Case {
    std::string route;
    int code;
  } cases[] = {
      {"trickle/30", internet_error::timeout},                  // a byte a second
      {"stall/1000", internet_error::timeout},                  // a little, then nothing
      {"silent", internet_error::timeout},                      // not even the headers
      {"loop", internet_error::redirect_failed},                // redirects to itself
      {"stall/1000000000000", internet_error::file_too_large},  // announces a terabyte
      {"unannounced/200000", internet_error::file_too_large},   // more than the limit
      {"truncated", internet_error::connection_reset},          // closes in the middle
  // Wine's WinInet ignores the connect time-out: there a stalled connect waits for the system.
#ifndef _WIN32
      {"", internet_error::timeout},  // never accepts the connection
#endif
  };
  ShortLimits limits;
  for (const Case& hostile : cases) {
    CAPTURE(hostile.route);
    FetchRun run;
    write_file(run.local, previous_copy);
    BadCallList list = hostile.route.empty() ? run.fetch_from(stalled_loopback_server())
                                             : run.fetch(hostile.route);
    check_previous_copy_kept(run, list, "the download failed");
    REQUIRE(run.errors.shown.size() == 1);
    CHECK(run.errors.shown[0].caption == "Internet error");
    CHECK_MESSAGE(run.errors.shown[0].text.find(" failed, error = " +
                                                std::to_string(hostile.code)) != std::string::npos,
                  run.errors.shown[0].text);
  }
}

TEST_CASE("an unreachable server is shown at once and never written to the run log") {
  FetchRun run;
  write_file(run.local, previous_copy);
  BadCallList list = run.fetch_from(closed_loopback_server());
  REQUIRE(run.errors.shown.size() == 1);
  CHECK(run.errors.shown[0].text.find("error = 12029") != std::string::npos);
  check_previous_copy_kept(run, list, "the download failed");
  CHECK(run.log_text().find("error =") == std::string::npos);
}

TEST_CASE("without a previous copy a failed download leaves no list and says so") {
  FetchRun run;
  BadCallList list = run.fetch("status/404");
  CHECK(list.empty());
  CHECK_FALSE(std::filesystem::exists(run.local));
  CHECK(run.log.warnings == 1);
  CHECK(run.log_text() ==
        "WARN:\tNo new bad-call list (HTTP status 404) and no local copy; no bad-call list was "
        "used\n" +
            separator);
}

TEST_CASE("a broken previous copy counts as none") {
  FetchRun run;
  write_file(run.local, "<html></html>");
  BadCallList list = run.fetch("html");
  CHECK(list.empty());
  CHECK(run.log_text().find("no bad-call list was used") != std::string::npos);
}

TEST_CASE("a root object without entries gives an empty list, no count line, a separator") {
  FetchRun run;
  BadCallList list = run.fetch("json-empty");
  CHECK(list.empty());
  CHECK(run.log_text() == separator);
  CHECK(read_file(run.local) == R"({"version": 1})");
}

TEST_CASE("the local copy lives in the output workbook's folder") {
  CHECK(local_bad_calls_path("results.xlsx") == "all-bad-calls.json");
  CHECK(local_bad_calls_path("/home/op/2024/results.xlsx") == "/home/op/2024/all-bad-calls.json");
#ifdef _WIN32
  CHECK(local_bad_calls_path("C:\\Logs\\results.xlsx") == "C:\\Logs\\all-bad-calls.json");
#endif
}

TEST_CASE("the list's address is the contest server's resources path") {
  WebEndpoints endpoints = default_web_endpoints();
  WebUrl url = bad_calls_url(endpoints);
  CHECK(url.server.host == endpoints.contestHost.host);
  CHECK(url.path == "resources/all-bad-calls.json");
}

TEST_CASE("a named local file that is not a JSON object gives the warning and no list") {
  ScratchFolder folder;
  RunLog log;
  REQUIRE(log.open(folder.file("run.log")));
  std::string named = folder.file("my-list.json");
  write_file(named, "[1, 2, 3]");
  BadCallList list = read_bad_calls_file(named, log);
  CHECK(list.empty());
  CHECK(log.warnings == 1);
  log.sync();
  CHECK(read_text_file(log.temporary_path()) == "WARN:\tbad json file: " + named + "\n");
}

TEST_CASE("a named local file with a list is loaded") {
  ScratchFolder folder;
  RunLog log;
  std::string named = folder.file("my-list.json");
  write_file(named, previous_copy);
  BadCallList list = read_bad_calls_file(named, log);
  CHECK(list.size() == 1);
  CHECK(log.warnings == 0);
}
