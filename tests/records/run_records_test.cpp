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
  CHECK(entities.size() == 907);
  CHECK(ZoneCreditTable().size() == 41);
  for (int i = 0; i < entities.size(); ++i) CHECK(entities.find(i) == nullptr);
  CHECK(entities.find(-1) == nullptr);
  CHECK(entities.find(907) == nullptr);
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
  CHECK(log.notes == 1);
  CHECK(log.warnings == 2);
  CHECK(log.errors == 1);
  CHECK(capture.text() ==
        "INFO:\ta note\n"
        "WARN:\tQSO #    7 has no callsign\n"
        "WARN:\tsecond\n"
        "ERROR:\tZZ was not found in the ADIF map!\n"
        "========================================\n"
        "Read 3 bad callsigns from x.json\n");
}

TEST_CASE("opening a log in a missing folder fails with the system's text") {
  RunLog log;
  std::string error;
  CHECK_FALSE(
      log.open((tarvenix::testing::temp_file_path("no-such-dir") / "x.log").string(), &error));
  CHECK_FALSE(error.empty());
  CHECK_FALSE(log.is_open());
}

TEST_CASE("the log replaces the previous one only when committed") {
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
