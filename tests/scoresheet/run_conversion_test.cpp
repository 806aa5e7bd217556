// Whole conversion runs on the bundled Scoresheet: whether the filled workbook was saved.
#include <doctest/doctest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "scoresheet/run.h"

using namespace tarvenix;

namespace {

constexpr const char* one_qso =
    "<EOH>\n"
    "<CALL:5>CE3XS <QSO_DATE:8>20241225 <TIME_ON:4>0740 <BAND:3>30m <FREQ:9>10.122000 "
    "<MODE:4>RTTY <DXCC:3>112 <CQZ:2>12 <QSL_RCVD:1>Y <EOR>\n";

struct RunFolder {
  std::filesystem::path folder;
  ProgramPaths paths;
  OperatorConfig record;

  RunFolder() {
    std::random_device seed;
    folder = std::filesystem::temp_directory_path() / ("tarvenix-run-" + std::to_string(seed()));
    std::filesystem::create_directories(folder);
    paths.adif_path = (folder / "log.adi").string();
    paths.scoresheet_path = std::string(TARVENIX_SOURCE_DIR) + "/samples/Scoresheet v1.0.xlsx";
    paths.output_path = (folder / "out.xlsx").string();
    std::snprintf(record.callsign, sizeof record.callsign, "W1AW");
  }
  ~RunFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  void write_log(const std::string& text) const {
    std::ofstream(paths.adif_path, std::ios::binary) << text;
  }

  int run(bool& saved) {
    RunOutputs outputs;
    const int result = run_conversion(record, paths, SystemInfo{}, {}, outputs, 0);
    saved = outputs.workbook_saved;
    return result;
  }
};

}  // namespace

TEST_CASE_FIXTURE(RunFolder, "a clean run saves the workbook") {
  write_log(one_qso);
  bool saved = false;
  CHECK(run(saved) == 0);
  CHECK(saved);
  CHECK(std::filesystem::exists(paths.output_path));
}

TEST_CASE_FIXTURE(RunFolder, "a run with error lines in its log saves the workbook and fails") {
  write_log(std::string(one_qso) + "<CALL:4>W9XY <QSO_DATE:8>20240101");  // no <EOR>
  bool saved = false;
  CHECK(run(saved) == -1);
  CHECK(saved);
  CHECK(std::filesystem::exists(paths.output_path));
  CHECK(record.message.rfind("There were 1 errors in ", 0) == 0);
}

TEST_CASE_FIXTURE(RunFolder, "a run that stops before filling saves nothing") {
  write_log(one_qso);
  paths.scoresheet_path = paths.adif_path;
  bool saved = true;
  CHECK(run(saved) == -1);
  CHECK_FALSE(saved);
  CHECK_FALSE(std::filesystem::exists(paths.output_path));
}
