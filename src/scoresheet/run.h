// One conversion from start to end: the run log, the Scoresheet template, the entity map,
// the bad-call list, the ADIF log, the filled workbook saved under the output name, and the
// results page beside it. The window and the command line each build a request from their
// own state and show the result.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "badcalls/bad_call_list.h"
#include "evaluation/band_rules.h"
#include "evaluation/mode_rules.h"
#include "records/run_log.h"
#include "scoresheet/fill.h"
#include "scoresheet/run_country_file.h"
#include "scoresheet/system_info.h"

namespace tarvenix {

// Where the run's bad-call list comes from: `load` supplies it (downloaded, read from a
// file; none when empty) and may write to the run log. The files it reads and writes are
// named so the run can refuse outputs that would overwrite an input.
struct BadCallSource {
  std::function<BadCallList(RunLog& log)> load;
  std::string list_file;   // the list the operator named, or ""
  std::string local_copy;  // the downloaded copy kept beside the output, or ""
};

struct ConversionRequest {
  std::string adif_path;
  std::string scoresheet_path;  // the template
  std::string output_path;      // the workbook; the run log and the page go beside it
  std::string callsign;         // written into the Scoresheet as it stands
  Band band = Band::all;
  ModeClass mode = ModeClass::all;
  bool prefer_confirmed = false;  // the Confirmed box
  CountryFileChoice country_file;
  BadCallSource bad_calls;
  bool results_page_wanted = true;       // write the results page once the workbook is saved
  SystemInfo system;                     // named in the run log's header
  std::time_t now = std::time(nullptr);  // the run's time: the header, the refresh
};

enum class ConversionStatus : uint8_t { converted, failed };

struct ConversionResult {
  ConversionStatus status = ConversionStatus::failed;
  std::string message;                   // why it failed, for the operator; empty when converted
  std::optional<WrittenCounts> written;  // once the Scoresheet was filled
  std::string workbook;      // the saved workbook, also by a run whose log holds error lines
  std::string run_log;       // the run log's path once it is chosen
  std::string results_page;  // the page's path once written; empty otherwise
};

// Refreshes a country file that has grown old first (see CountryFileChoice). A run whose
// log holds error lines saves the workbook and the page and still fails. A page that cannot
// be written is a warning in the run log, not a failure of the run.
ConversionResult run_conversion(const ConversionRequest& request);

}  // namespace tarvenix
