// Whole conversion runs on the bundled Scoresheet: whether the filled workbook was saved,
// and what a failing or refused run leaves behind.
#include <doctest/doctest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "records/contest.h"
#include "records/output_lock.h"
#include "records/sink.h"
#include "scoresheet/run.h"
#include "support/log_capture.h"

using namespace tarvenix;
using testing::read_file;

namespace {

const std::string year = std::to_string(CONTEST_YEAR);
const std::string one_qso = "<EOH>\n<CALL:5>CE3XS <QSO_DATE:8>" + year +
                            "1225 <TIME_ON:4>0740 <BAND:3>30m <FREQ:9>10.122000 "
                            "<MODE:4>RTTY <DXCC:3>112 <CQZ:2>12 <QSL_RCVD:1>Y <EOR>\n";

// A folder with the log and the previous run's workbook and log, to be kept by a run that fails.
struct RunFolder {
  std::filesystem::path folder = testing::temp_file_path("tarvenix-run");
  ConversionRequest paths{.callsign = "W1AW", .now = 0};
  std::string message;  // of the last run
  const std::string log_path = (folder / "out.log").string();
  bool saved = false;  // by the last run

  RunFolder() {
    std::filesystem::create_directories(folder);
    paths.adif_path = (folder / "log.adi").string();
    paths.scoresheet_path = std::string(TARVENIX_SOURCE_DIR) + "/samples/Scoresheet v1.0.xlsx";
    paths.output_path = (folder / "out.xlsx").string();
    write_log(one_qso);
    std::ofstream(paths.output_path, std::ios::binary) << "previous workbook";
    std::ofstream(log_path, std::ios::binary) << "previous log";
  }
  ~RunFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  void write_log(const std::string& text) const {
    std::ofstream(paths.adif_path, std::ios::binary) << text;
  }
  int run(const BadCallSource& source = {}) {
    paths.bad_calls = source;
    const ConversionResult result = run_conversion(paths);
    saved = !result.workbook.empty();
    message = result.message;
    return result.status == ConversionStatus::converted ? 0 : -1;
  }
  bool previous_kept() const {
    return read_file(folder / "out.xlsx") == "previous workbook" &&
           read_file(log_path) == "previous log";
  }
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

}  // namespace

// A run that stops before filling saves nothing: pinned by the end-to-end exit statuses.
TEST_CASE_FIXTURE(RunFolder, "a run with error lines in its log saves the workbook and fails") {
  write_log(one_qso + "<CALL:4>W9XY <QSO_DATE:8>" + year + "0101");  // no <EOR>
  CHECK(run() == -1);
  CHECK(saved);
  CHECK(read_file(paths.output_path).starts_with("PK"));
  CHECK(message.rfind("There were 1 errors in ", 0) == 0);
}

TEST_CASE_FIXTURE(RunFolder, "a full disc at any write leaves the previous workbook and log") {
  for (size_t write = 1;; write += 1 + write / 4) {
    CAPTURE(write);
    REQUIRE(write < 100000);
    fail_file_writes_after(write);
    const int result = run();
    fail_file_writes_after(0);
    if (result == 0) break;
    CHECK_FALSE(saved);
    CHECK((message.rfind("Error writing the run log " + log_path + ": ", 0) == 0 ||
           message.rfind("Error with output file " + paths.output_path + ": ", 0) == 0));
    CHECK(previous_kept());
    CHECK(files() == std::vector<std::string>{"log.adi", "out.log", "out.xlsx"});
  }
  CHECK(read_file(log_path).find("Converted on") != std::string::npos);
}

TEST_CASE_FIXTURE(RunFolder, "runs that are refused before they write") {
#ifndef _WIN32
  const std::string fifo = (folder / "fifo.adi").string();
  REQUIRE(mkfifo(fifo.c_str(), 0600) == 0);
#endif
  OutputLock other;
  REQUIRE(other.take(log_path) == OutputLock::Result::held);
  const std::string folder_path = folder.string();
  const struct {
    const char* what;
    std::string adif, list_file, output;
    std::string message;
  } cases[] = {
      // clang-format off
      {"the output is the ADIF log", paths.adif_path, {}, paths.adif_path, "Error with output file " + paths.adif_path + ": it is the input file " + paths.adif_path},
      {"the run log is the list", paths.adif_path, log_path, paths.output_path, "Error with output file " + log_path + ": it is the input file " + log_path},
      {"a folder as the log", folder_path, {}, paths.output_path, "Error with input file " + folder_path + ": not a regular file"},
#ifndef _WIN32
      {"a FIFO as the log", fifo, {}, paths.output_path, "Error with input file " + fifo + ": not a regular file"},
#endif
      {"another run holds the output", paths.adif_path, {}, paths.output_path, paths.output_path + " is being written by another conversion."},
      // clang-format on
  };
  for (const auto& c : cases) {
    CAPTURE(c.what);
    paths.adif_path = c.adif;
    paths.output_path = c.output;
    BadCallSource source;
    source.list_file = c.list_file;
    CHECK(run(source) == -1);
    CHECK(message.rfind(c.message, 0) == 0);
    CHECK(previous_kept());
  }
}

TEST_CASE_FIXTURE(RunFolder, "a run removes what a killed run on its output left") {
  for (const char* name :
       {"out.xlsx.tmp123", "out.log.tmp9", "out.html.tmp5", "out.xlsx.tmpx", "other.xlsx.tmp1"}) {
    std::ofstream(folder / name) << "left";
  }
  CHECK(run() == 0);
  CHECK(files() == std::vector<std::string>{"log.adi", "other.xlsx.tmp1", "out.html", "out.log",
                                            "out.xlsx", "out.xlsx.tmpx"});
  CHECK(read_file(log_path).find("Converted on") != std::string::npos);
}
