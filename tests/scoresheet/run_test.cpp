// The conversion's own rules: where the run log goes, the header, and the counts block and
// summary. (The cells of credited rows are pinned by the end-to-end workbooks.)
#include <doctest/doctest.h>

#include <string>
#include <utility>

#include "records/paths.h"
#include "scoresheet/file_paths.h"
#include "scoresheet/log_header.h"
#include "scoresheet/run_report.h"
#include "support/log_capture.h"

using namespace tarvenix;
using tarvenix::testing::LogCapture;

TEST_CASE("the run log sits beside the output under the output's name") {
  CHECK(run_log_path("C:\\logs\\results.xlsx") == "C:\\logs\\results.log");
  CHECK(run_log_path("/home/op/results.xlsx") == "/home/op/results.log");
  CHECK(run_log_path("results") == "results.log");
  CHECK(run_log_path("/home/op.d/results") == "/home/op.d/results.log");  // a dot in a folder
  CHECK(run_log_path("C:\\x.y\\results") == "C:\\x.y\\results.log");
  CHECK(run_log_path("results.log") == "results.log.log");  // never the output itself
  CHECK(run_log_path("a.b.xlsx") == "a.b.log");
}

TEST_CASE("two names of one file are the same file") {
  CHECK(same_file("a/b/../c.xlsx", "a/c.xlsx"));
  CHECK(same_file("./c.xlsx", "c.xlsx"));
  CHECK_FALSE(same_file("c.xlsx", "d.xlsx"));
#ifdef _WIN32
  CHECK(same_file("C:\\Logs\\Out.XLSX", "c:/logs/out.xlsx"));
#endif
}

TEST_CASE("the header names the system, then the runtime and library or the program itself") {
  const std::string separator = "========================================\n";
  const struct {
    SystemInfo system;
    const char* lines;  // between the time and the closing separator
  } cases[] = {
      // clang-format off
      {{.os_major = 10, .os_build = 19045, .os_product_type = 1, .runtime_major = 14, .runtime_minor = 38, .runtime_build = 33130},
       "Windows 10 [Version 10.0.19045]\nMicrosoft Visual C++ Redistributable version 14.38.33130\nLibXL version: 4.2.0.0\n"},
      {{.os_major = 6, .os_minor = 1, .command_line = true, .system_name = "Linux", .program_version = "1.0"},
       "Linux [Version 6.1.0]\ntarvenix-convert version 1.0\n"},
      // clang-format on
  };
  for (const auto& c : cases) {
    LogCapture capture;
    REQUIRE(write_log_header(capture.log, c.system, 1732559405));
    CHECK(capture.text() ==
          separator + "Converted on 11/25/24 18:30:05 UTC\n" + c.lines + separator);
    CHECK(capture.log.notes + capture.log.warnings + capture.log.errors == 0);
  }
}

namespace {

CreditRecord* credit(CreditTable& table, int slot, const char* call, bool confirmed,
                     std::string prefix = {}, std::string name = {}) {
  CreditRecord* record = table.create(slot);
  record->set_call(call);
  record->confirmed = confirmed ? 1 : 0;
  record->prefix = std::move(prefix);
  record->name = std::move(name);
  return record;
}

}  // namespace

// After warnings, the dividers and the counters above 0 are pinned by the end-to-end logs.
TEST_CASE("the counts block") {
  ConversionRun run;
  LogCapture capture(run.log);
  RunStats& stats = run.stats;
  EntityCreditTable& entities = run.entities;
  ZoneCreditTable& zones = run.zones;

  SUBCASE("a quiet run without Confirmed ends with the count alone") {
    stats.qsos_read = 250;
    write_counts_block(run, {});
    CHECK(capture.text() == "  250 QSO(s) were read from the ADIF file.\n");
  }
  SUBCASE("with Confirmed, unconfirmed entities in prefix byte order and zones in order") {
    run.prefer_confirmed = true;
    credit(entities, 110, "KH6AA", false, "KH6", "Hawaii");
    credit(entities, 291, "K1AA", false, "K", "United States of America");
    credit(entities, 230, "DL1AA", true, "DL", "Fed. Rep. of Germany");
    credit(zones, 31, "KH6AA", false);
    credit(zones, 5, "K1AA", false);
    credit(zones, 14, "DL1AA", true);
    stats.qsos_read = 3;
    stats.entities_confirmed = 1;
    stats.zones_confirmed = 1;
    write_counts_block(run, {.countries = 3, .zones = 3});
    CHECK(capture.text() ==
          "    3 QSO(s) were read from the ADIF file.\n"
          "    1 entities are confirmed.\n"
          "    1 zones    are confirmed.\n"
          "========================================\n"
          "The following entities were worked but are not confirmed:\n\n"
          "K      United States of America\n"
          "KH6    Hawaii\n"
          "========================================\n"
          "The following CQ Zones were worked but are not confirmed:\n\n"
          "Zone  5\n"
          "Zone 31\n");
  }
}
