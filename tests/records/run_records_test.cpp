// Run records: the log counts its lines by kind and replaces its file only when committed;
// credit tables hold records only where created.
#include <doctest/doctest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "records/run_log.h"
#include "records/run_records.h"
#include "support/log_capture.h"

using namespace tarvenix;
using tarvenix::testing::LogCapture;

TEST_CASE("credit tables hold slots only where created, inside their size") {
  EntityCreditTable entities;
  for (int i = -1; i <= entities.size(); ++i) CHECK(entities.find(i) == nullptr);
  CHECK(entities.create(907) == nullptr);
  CHECK(entities.create(-1) == nullptr);
  CreditRecord* last = entities.create(906);
  REQUIRE(last != nullptr);
  CHECK(entities.find(906) == last);
  CHECK_FALSE(last->has_call());
  entities.clear();
  CHECK(entities.find(906) == nullptr);
}

TEST_CASE("each line kind raises its own count; raw text raises none") {
  LogCapture capture;
  RunLog& log = capture.log;
  log.note("INFO:\t%s\n", "a note");
  log.warn("WARN:\tQSO #%5d has no callsign\n", 7);
  log.warn("WARN:\tsecond\n");
  log.error("ERROR:\t%s was not found in the ADIF map!\n", "ZZ");
  log.write(log_separator);
  log.print("Read %d bad callsigns from %s\n", 3, "x.json");
  CHECK(std::to_string(log.notes) + std::to_string(log.warnings) + std::to_string(log.errors) ==
        "121");
  CHECK(capture.text() ==
        "INFO:\ta note\n"
        "WARN:\tQSO #    7 has no callsign\n"
        "WARN:\tsecond\n"
        "ERROR:\tZZ was not found in the ADIF map!\n"
        "========================================\n"
        "Read 3 bad callsigns from x.json\n");
}

TEST_CASE("the log replaces the previous one only when committed; in no folder it fails") {
  RunLog nowhere;
  std::string error;
  CHECK_FALSE(
      nowhere.open((tarvenix::testing::temp_file_path("no-such-dir") / "x.log").string(), &error));
  CHECK_FALSE(error.empty());  // the system's text
  CHECK_FALSE(nowhere.is_open());
  LogCapture capture;
  const std::filesystem::path& path = capture.path();
  std::ofstream(path, std::ios::binary) << "previous\n";
  capture.log.write("x\n");
  CHECK(tarvenix::testing::read_file(path) == "previous\n");
  CHECK(capture.log.commit());
  CHECK_FALSE(capture.log.commit());
  CHECK(tarvenix::testing::read_file(path).find('x') == 0);
  std::filesystem::remove(path);
}
