// The bad-call list: loading the JSON file, date windows, several windows of one call sign,
// and files that are refused.
#include <doctest/doctest.h>

#include <fstream>
#include <string>
#include <tuple>

#include "badcalls/bad_call_list.h"
#include "support/log_capture.h"

using namespace tarvenix;
using tarvenix::testing::LogCapture;

namespace {

std::string entry_json(const std::string& call, const std::string& category,
                       const std::string& start, const std::string& end,
                       const std::string& notes = "") {
  return "{\"callsign\":\"" + call + "\",\"category\":\"" + category + "\",\"startOn\":\"" + start +
         "\",\"endOn\":\"" + end + "\",\"notes\":\"" + notes + "\"}";
}

std::string root_json(const std::string& entries) {
  return "{\"entries\":[" + entries + "]}";
}

// `json` loaded as "mem" after what `list` already holds, with the run log's text.
struct Loaded {
  BadCallList list;
  Result<int> load;
  std::string log;
};
Loaded load_text(const std::string& json, BadCallList list = {}) {
  LogCapture capture;
  Result<int> load = load_bad_calls_from_text(list, json, "mem", capture.log);
  return {std::move(list), load, capture.text()};
}

}  // namespace

TEST_CASE("entries are loaded from a file and counted in the run log") {
  const std::string path = tarvenix::testing::temp_file_path("bad-calls").string();
  std::ofstream(path, std::ios::binary)
      << "{\"version\":3,\"entries\":[" +
             entry_json("K1BUST", "Busted", "2024-01-01", "2024-12-31", "check log") + "," +
             entry_json("N0INV", "I", "2024-02-01", "2024-02-29") + "]}";
  BadCallList list;
  LogCapture capture;
  const Result<int> load = load_bad_calls(list, path, capture.log);
  std::filesystem::remove(path);
  CHECK((load.ok() && list.size() == 2));
  CHECK(capture.text() == "Read 2 bad callsigns from " + path + "\n");
  const BadCallEntry* busted = find_bad_call(list, "K1BUST", "2024-06-01");
  REQUIRE(busted != nullptr);
  CHECK(busted->category == 'B');
  CHECK(busted->notes == std::optional<std::string>("check log"));
  const BadCallEntry* invalid = find_bad_call(list, "N0INV", "2024-02-10");
  REQUIRE(invalid != nullptr);
  CHECK_FALSE(invalid->notes.has_value());                              // an empty note is no note
  const Result<int> missing = load_bad_calls(list, path, capture.log);  // gone now
  CHECK_FALSE(missing.ok());
  CHECK(missing.reason().size() > path.size() + 2);  // the system's reason
  CHECK(list.size() == 2);
}

TEST_CASE("a window holds its first and last day, call signs match exactly") {
  using Str = const char*;
  const std::tuple<Str, Str, Str, Str, bool> cases[] = {
      // start, end, call, date, found
      {"2024-03-10", "2024-03-20", "K1X", "2024-03-10", true},
      {"2024-03-10", "2024-03-20", "K1X", "2024-03-20", true},
      {"2024-03-10", "2024-03-20", "K1X", "2024-03-09", false},
      {"2024-03-10", "2024-03-20", "K1X", "2024-03-21", false},
      // A time after the date: the end still holds its last day, the start misses its first.
      {"2024-03-10", "2024-03-20T23:59:59Z", "K1X", "2024-03-20", true},
      {"2024-03-10", "2024-03-20T23:59:59Z", "K1X", "2024-03-21", false},
      {"2024-03-10T00:00:00", "2024-03-20", "K1X", "2024-03-10", false},
      {"2024-03-10T00:00:00", "2024-03-20", "K1X", "2024-03-11", true},
      {"2024-01-01", "2024-12-31", "k1x", "2024-05-05", false},
      {"2024-01-01", "2024-12-31", "K1", "2024-05-05", false},
      {"2024-01-01", "2024-12-31", "K1XY", "2024-05-05", false},
  };
  for (const auto& [start, end, call, date, found] : cases) {
    INFO(start, " ", end, " ", call, " ", date);
    Loaded loaded = load_text(root_json(entry_json("K1X", "B", start, end)));
    CHECK((find_bad_call(loaded.list, call, date) != nullptr) == found);
  }
}

TEST_CASE("several windows of one call sign are all kept; the first in file order wins") {
  Loaded loaded =
      load_text(root_json(entry_json("K1X", "B", "2024-06-01", "2024-06-30", "june") + "," +
                          entry_json("K1X", "I", "2024-01-01", "2024-01-31", "january") + "," +
                          entry_json("K1X", "", "2024-01-15", "2024-12-31", "wide")));
  CHECK((loaded.load.value() == 3 && loaded.list.size() == 3));
  CHECK(loaded.log == "Read 3 bad callsigns from mem\n");
  CHECK(*find_bad_call(loaded.list, "K1X", "2024-06-10")->notes == "june");
  CHECK(*find_bad_call(loaded.list, "K1X", "2024-01-10")->notes == "january");
  CHECK(*find_bad_call(loaded.list, "K1X", "2024-01-20")->notes == "january");
  const BadCallEntry* wide = find_bad_call(loaded.list, "K1X", "2024-03-01");
  REQUIRE(wide != nullptr);
  CHECK(*wide->notes == "wide");
  CHECK(wide->category == '\0');  // an empty category
  CHECK(find_bad_call(loaded.list, "K1X", "2023-12-31") == nullptr);
  // A second load adds its windows after those already there.
  Loaded both = load_text(root_json(entry_json("K1X", "I", "2023-01-01", "2024-12-31", "later") +
                                    "," + entry_json("K2Y", "I", "2024-01-01", "2024-12-31")),
                          std::move(loaded.list));
  CHECK(both.list.size() == 5);
  CHECK(*find_bad_call(both.list, "K1X", "2024-06-10")->notes == "june");
  CHECK(*find_bad_call(both.list, "K1X", "2023-12-31")->notes == "later");
  CHECK(find_bad_call(both.list, "K2Y", "2024-05-05") != nullptr);
}

TEST_CASE("a root without usable entries is an empty list; other JSON is refused, naming it") {
  // clang-format off
  const char* texts[] = {"{}", "{\"entries\":[]}", "{\"entries\":5}", "{\"entries\":{}}",
                         "{\"Entries\":[{\"callsign\":\"K1X\"}]}",  // the roots end here
                         "", "[]", "[{\"entries\":[]}]", "<html><body>502 Bad Gateway</body></html>",
                         "{\"entries\":[", "\"text\"", "42", "null"};
  // clang-format on
  for (int i = 0; i < 13; ++i) {
    CAPTURE(texts[i]);
    Loaded loaded = load_text(texts[i]);
    CHECK(loaded.load.ok() == (i < 5));
    CHECK((loaded.load.ok() || loaded.load.reason() == "mem: bad json file"));
    CHECK((loaded.list.empty() && loaded.log.empty()));
  }
}

TEST_CASE("items that are not objects are skipped; missing members read as empty") {
  Loaded loaded = load_text(
      R"({"entries":[1,"x",null,{"callsign":"K1X","category":7,"startOn":"2024-01-01"}]})");
  CHECK((loaded.load.ok() && loaded.load.value() == 1 && loaded.list.size() == 1));
  // No end date: an empty end is before every date, so the entry never matches.
  CHECK(find_bad_call(loaded.list, "K1X", "2024-05-05") == nullptr);
}
