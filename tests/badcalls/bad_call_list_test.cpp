// The bad-call list: loading the JSON file, date windows, several windows of one call sign,
// and files that are refused.
#include <doctest/doctest.h>

#include <fstream>
#include <string>

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

// A temporary JSON file, removed at the end.
class JsonFile {
 public:
  explicit JsonFile(const std::string& text)
      : path_(tarvenix::testing::temp_file_path("bad-calls")) {
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~JsonFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace

TEST_CASE("entries are loaded from a file and counted in the run log") {
  const JsonFile file("{\"version\":3,\"entries\":[" +
                      entry_json("K1BUST", "Busted", "2024-01-01", "2024-12-31", "check log") +
                      "," + entry_json("N0INV", "I", "2024-02-01", "2024-02-29") + "]}");
  BadCallList list;
  LogCapture capture;
  const BadCallLoad load = load_bad_calls(list, file.path(), capture.log);
  CHECK(load.ok);
  CHECK(load.items == 2);
  CHECK(list.size() == 2);
  CHECK(capture.text() == "Read 2 bad callsigns from " + file.path() + "\n");
  CHECK(capture.log.notes + capture.log.warnings + capture.log.errors == 0);
  const BadCallEntry* busted = find_bad_call(list, "K1BUST", "2024-06-01");
  REQUIRE(busted != nullptr);
  CHECK(busted->category == 'B');
  CHECK(busted->startOn == "2024-01-01");
  CHECK(busted->endOn == "2024-12-31");
  REQUIRE(busted->notes.has_value());
  CHECK(*busted->notes == "check log");
  const BadCallEntry* invalid = find_bad_call(list, "N0INV", "2024-02-10");
  REQUIRE(invalid != nullptr);
  CHECK(invalid->category == 'I');
  CHECK_FALSE(invalid->notes.has_value());  // an empty note is no note
}

TEST_CASE("a window holds its first and last day and nothing outside") {
  BadCallList list;
  LogCapture capture;
  load_bad_calls_from_text(
      list, "{\"entries\":[" + entry_json("K1X", "B", "2024-03-10", "2024-03-20") + "]}", "mem",
      capture.log);
  CHECK(find_bad_call(list, "K1X", "2024-03-10") != nullptr);
  CHECK(find_bad_call(list, "K1X", "2024-03-20") != nullptr);
  CHECK(find_bad_call(list, "K1X", "2024-03-09") == nullptr);
  CHECK(find_bad_call(list, "K1X", "2024-03-21") == nullptr);
}

TEST_CASE("an end with a time after the date still holds that last day") {
  BadCallList list;
  LogCapture capture;
  load_bad_calls_from_text(
      list, "{\"entries\":[" + entry_json("K1X", "B", "2024-03-10", "2024-03-20T23:59:59Z") + "]}",
      "mem", capture.log);
  CHECK(find_bad_call(list, "K1X", "2024-03-20") != nullptr);
  CHECK(find_bad_call(list, "K1X", "2024-03-21") == nullptr);
}

TEST_CASE("a start with a time after the date misses the first day") {
  BadCallList list;
  LogCapture capture;
  load_bad_calls_from_text(
      list, "{\"entries\":[" + entry_json("K1X", "B", "2024-03-10T00:00:00", "2024-03-20") + "]}",
      "mem", capture.log);
  CHECK(find_bad_call(list, "K1X", "2024-03-10") == nullptr);
  CHECK(find_bad_call(list, "K1X", "2024-03-11") != nullptr);
}

TEST_CASE("call signs match exactly, case included") {
  BadCallList list;
  LogCapture capture;
  load_bad_calls_from_text(
      list, "{\"entries\":[" + entry_json("K1ABC", "B", "2024-01-01", "2024-12-31") + "]}", "mem",
      capture.log);
  CHECK(find_bad_call(list, "k1abc", "2024-05-05") == nullptr);
  CHECK(find_bad_call(list, "K1AB", "2024-05-05") == nullptr);
  CHECK(find_bad_call(list, "K1ABCD", "2024-05-05") == nullptr);
  CHECK(find_bad_call(list, "K1ABC", "2024-05-05") != nullptr);
}

TEST_CASE("several windows of one call sign are all kept; the first in file order wins") {
  BadCallList list;
  LogCapture capture;
  const std::string json = "{\"entries\":[" +
                           entry_json("K1X", "B", "2024-06-01", "2024-06-30", "june") + "," +
                           entry_json("K1X", "I", "2024-01-01", "2024-01-31", "january") + "," +
                           entry_json("K1X", "B", "2024-01-15", "2024-12-31", "wide") + "]}";
  const BadCallLoad load = load_bad_calls_from_text(list, json, "mem", capture.log);
  CHECK(load.items == 3);
  CHECK(list.size() == 3);
  CHECK(capture.text() == "Read 3 bad callsigns from mem\n");
  CHECK(*find_bad_call(list, "K1X", "2024-06-10")->notes == "june");
  CHECK(*find_bad_call(list, "K1X", "2024-01-10")->notes == "january");
  CHECK(*find_bad_call(list, "K1X", "2024-01-20")->notes == "january");
  CHECK(*find_bad_call(list, "K1X", "2024-03-01")->notes == "wide");
  CHECK(find_bad_call(list, "K1X", "2023-12-31") == nullptr);
}

TEST_CASE("an empty category is stored as 0 and still found") {
  BadCallList list;
  LogCapture capture;
  load_bad_calls_from_text(
      list, "{\"entries\":[" + entry_json("K1X", "", "2024-01-01", "2024-12-31") + "]}", "mem",
      capture.log);
  const BadCallEntry* entry = find_bad_call(list, "K1X", "2024-05-05");
  REQUIRE(entry != nullptr);
  CHECK(entry->category == '\0');
}

TEST_CASE("a root without usable entries gives an empty list and no line") {
  for (const char* json : {"{}", "{\"entries\":[]}", "{\"entries\":5}", "{\"entries\":{}}",
                           "{\"Entries\":[{\"callsign\":\"K1X\"}]}"}) {
    CAPTURE(json);
    BadCallList list;
    LogCapture capture;
    const BadCallLoad load = load_bad_calls_from_text(list, json, "mem", capture.log);
    CHECK(load.ok);
    CHECK(list.empty());
    CHECK(capture.text().empty());
  }
}

TEST_CASE("files that are not a JSON object are refused, naming the file") {
  for (const char* json :
       {"", "[]", "[{\"entries\":[]}]", "<html><body>502 Bad Gateway</body></html>",
        "{\"entries\":[", "\"text\"", "42", "null"}) {
    CAPTURE(json);
    const JsonFile file(json);
    BadCallList list;
    LogCapture capture;
    const BadCallLoad load = load_bad_calls(list, file.path(), capture.log);
    CHECK_FALSE(load.ok);
    CHECK(load.error.find(file.path()) != std::string::npos);
    CHECK(list.empty());
    CHECK(capture.text().empty());
  }
}

TEST_CASE("a missing file is refused with the system's reason") {
  BadCallList list;
  LogCapture capture;
  const std::string path = tarvenix::testing::temp_file_path("missing").string();
  const BadCallLoad load = load_bad_calls(list, path, capture.log);
  CHECK_FALSE(load.ok);
  CHECK(load.error.size() > path.size() + 2);
  CHECK(list.empty());
}

TEST_CASE("items that are not objects are skipped; missing members read as empty") {
  BadCallList list;
  LogCapture capture;
  const BadCallLoad load =
      load_bad_calls_from_text(list,
                               "{\"entries\":[1,\"x\",null,{\"callsign\":\"K1X\",\"category\":7,"
                               "\"startOn\":\"2024-01-01\"}]}",
                               "mem", capture.log);
  CHECK(load.ok);
  CHECK(load.items == 1);
  CHECK(list.size() == 1);
  // No end date: an empty end is before every date, so the entry never matches.
  CHECK(find_bad_call(list, "K1X", "2024-05-05") == nullptr);
}

TEST_CASE("a second load adds its entries after the first") {
  BadCallList list;
  LogCapture capture;
  load_bad_calls_from_text(
      list, "{\"entries\":[" + entry_json("K1X", "B", "2024-01-01", "2024-12-31", "first") + "]}",
      "one", capture.log);
  load_bad_calls_from_text(list,
                           "{\"entries\":[" +
                               entry_json("K1X", "I", "2024-01-01", "2024-12-31", "second") + "," +
                               entry_json("K2Y", "I", "2024-01-01", "2024-12-31") + "]}",
                           "two", capture.log);
  CHECK(list.size() == 3);
  CHECK(*find_bad_call(list, "K1X", "2024-05-05")->notes == "first");
  CHECK(find_bad_call(list, "K2Y", "2024-05-05") != nullptr);
}

TEST_CASE("many entries in ascending order are all found") {
  std::string json = "{\"entries\":[";
  for (int i = 0; i < 5000; ++i) {
    if (i > 0) json += ",";
    json += entry_json("K" + std::to_string(100000 + i), "B", "2024-01-01", "2024-12-31");
  }
  json += "]}";
  BadCallList list;
  LogCapture capture;
  CHECK(load_bad_calls_from_text(list, json, "big", capture.log).items == 5000);
  for (int i = 0; i < 5000; i += 7)
    CHECK(find_bad_call(list, "K" + std::to_string(100000 + i), "2024-07-01") != nullptr);
  CHECK(find_bad_call(list, "K099999", "2024-07-01") == nullptr);
}
