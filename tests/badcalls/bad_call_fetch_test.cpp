// The bad-call list download against the loopback test server: what replaces the local
// copy, what keeps it, and what the run log says. The download path is the program
// update's as well; its failures are tested here.
#include <doctest/doctest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "badcalls/bad_call_fetch.h"
#include "net/test_support.h"
#include "records/contest.h"
#include "support/log_capture.h"

using namespace tarvenix;
using namespace tarvenix::test;

namespace {

// The good copy a previous run left: one entry.
constexpr const char* previous_copy =
    R"({"entries": [{"callsign": "OLD1", "startOn": "2024-01-01", "endOn": "2024-12-31"}]})";

const std::string separator = "========================================\n";

// One run's surroundings: an output folder, its run log, captured error boxes.
struct FetchRun {
  ScratchFolder folder;
  CapturedErrors errors;
  tarvenix::testing::LogCapture capture;
  std::string local = folder.file("all-bad-calls.json");
  std::string url;  // the last one fetched, as an error box shows it

  // A previous copy (none for ""), written at noon UTC on 2024-05-06.
  void leave_previous_copy(const char* bytes = previous_copy) {
    if (!*bytes) return;
    write_file(local, bytes);
    using namespace std::chrono;
    std::filesystem::last_write_time(
        local, file_clock::from_sys(sys_seconds(sys_days(2024y / May / 6) + 12h)));
  }

  // The list from the test server's `route`; "stalled" is the port that never accepts.
  BadCallList fetch(std::string_view route) {
    WebServer server = loopback_server(route == "stalled" ? "TARVENIX_TEST_STALLED_PORT"
                                                          : "TARVENIX_TEST_HTTP_PORT");
    std::string path = std::string(route) + "/resources/all-bad-calls.json";
    url = "http://127.0.0.1:" + std::to_string(server.port) + "/" + path;
    return fetch_bad_calls(errors.network, folder.file("results.xlsx"), WebUrl{server, path}, true,
                           capture.log);
  }
};

// Limits short enough that each hostile server below is done with in seconds.
constexpr FetchLimits short_limits{std::chrono::seconds(1), std::chrono::seconds(2), 10,
                                   int64_t(64) << 10};

}  // namespace

TEST_CASE("a JSON list from the server is loaded and kept beside the output") {
  FetchRun run;
  run.leave_previous_copy();
  BadCallList list = run.fetch("resources");  // the edition's sample of four entries
  CHECK(list.size() == 4);
  CHECK(find_bad_call(list, "W1BUST", std::to_string(CONTEST_YEAR) + "-06-01") != nullptr);
  CHECK(find_bad_call(list, "OLD1", "2024-06-01") == nullptr);
  CHECK(read_file(run.local) == read_file(TARVENIX_SAMPLES_DIR "/all-bad-calls.json"));
  CHECK(run.capture.text() == "Read 4 bad callsigns from " + run.local + "\n" + separator);
  CHECK(run.errors.shown.empty());
  CHECK(count_files(run.folder.path) == 1);  // no download left behind
  CHECK(local_bad_calls_path("results.xlsx") == "all-bad-calls.json");
#ifdef _WIN32
  CHECK(local_bad_calls_path("C:\\Logs\\results.xlsx") == "C:\\Logs\\all-bad-calls.json");
#endif
}

// Without a usable previous copy (rows 3 and 4: none, a page) the run goes on without a list.
TEST_CASE("an unusable answer keeps the previous copy, and a failure is shown, not logged") {
  // The error box after " failed, error = ", before the URL.
  const char* timeout = "12002\nThe request has timed out.";
  const char* too_large = "223\nThe server sent more than the 64 MiB a download may hold.";
  struct Case {
    std::string route;
    const char *why, *box;                 // no box for nullptr
    const char* previous = previous_copy;  // "" for none
  } cases[] = {
      {"status/404", "HTTP status 404", nullptr},
      {"html", "not a JSON object", nullptr},  // a portal
      {"status/404", "HTTP status 404", nullptr, ""},
      {"html", "not a JSON object", nullptr, "<html></html>"},
      {"trickle/30", "the download failed", timeout},  // 1 byte/s
      {"stall/1000", "the download failed", timeout},  // then nothing
      {"silent", "the download failed", timeout},      // no headers
      {"loop", "the download failed",                  // to itself
       "12156\nThe server redirected the request too often or to an insecure address."},
      {"stall/1000000000000", "the download failed", too_large},  // 1 TB
      {"unannounced/200000", "the download failed", too_large},   // over the limit
      {"truncated", "the download failed",                        // closes mid-body
       "12031\nThe connection with the server has been reset."},
  // Wine's WinInet ignores the connect time-out: there a stalled connect waits for the system.
#ifndef _WIN32
      {"stalled", "the download failed", timeout},  // never accepts
#endif
  };
  for (const Case& c : cases) {
    CAPTURE(c.route);
    CAPTURE(c.previous);
    FetchRun run;
    run.errors.network.limits = short_limits;
    run.leave_previous_copy(c.previous);
    BadCallList list = run.fetch(c.route);
    const bool usable = c.previous == previous_copy;
    CHECK(read_file(run.local) == c.previous);
    CHECK(count_files(run.folder.path) == (*c.previous ? 1u : 0u));  // no download left behind
    CHECK((usable ? find_bad_call(list, "OLD1", "2024-06-01") != nullptr : list.empty()));
    CHECK(run.capture.log.warnings == 1);
    const std::string then = usable ? "; using the copy of 2024-05-06 in " + run.local +
                                          "\nRead 1 bad callsigns from " + run.local + "\n"
                                    : " and no local copy; no bad-call list was used\n";
    CHECK(run.capture.text() ==
          "WARN:\tNo new bad-call list (" + std::string(c.why) + ")" + then + separator);
    REQUIRE(run.errors.shown.size() == (c.box ? 1u : 0u));
    if (c.box)  // its caption: see tests/net/update_test.cpp
      CHECK_MESSAGE(run.errors.shown[0].text.ends_with(" failed, error = " + std::string(c.box) +
                                                       "\n" + run.url),
                    run.errors.shown[0].text);
  }
}

TEST_CASE("a named local file is loaded, or warned about when it is not a JSON object") {
  FetchRun run;
  write_file(run.local, previous_copy);
  CHECK(read_bad_calls_file(run.local, run.capture.log).size() == 1);
  write_file(run.local, "[1, 2, 3]");
  CHECK(read_bad_calls_file(run.local, run.capture.log).empty());
  CHECK(run.capture.log.warnings == 1);
  CHECK(run.capture.text() == "Read 1 bad callsigns from " + run.local + "\n" + separator +
                                  "WARN:\tbad json file: " + run.local + "\n");
}
