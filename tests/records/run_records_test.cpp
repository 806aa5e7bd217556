// Run records: the log replaces its file only when committed; credit tables hold records
// only where created. (Its lines and their counts are pinned by the conversion's logs.)
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

TEST_CASE("the log replaces the previous one only when committed; in no folder it fails") {
  RunLog nowhere;
  const Result<> opened =
      nowhere.open((tarvenix::testing::temp_file_path("no-such-dir") / "x.log").string());
  CHECK_FALSE(opened.ok());
  CHECK_FALSE(opened.reason().empty());  // the system's text
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
