// One conversion from start to end: the run log, the Scoresheet template, the entity map,
// the bad-call list, the ADIF log, the filled workbook saved under the output name, and the
// results page beside it.
#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "badcalls/bad_call_list.h"
#include "records/operator_config.h"
#include "records/program_paths.h"
#include "records/run_log.h"
#include "records/system_info.h"
#include "scoresheet/run_country_file.h"

namespace tarvenix {

// Where the run's bad-call list comes from: `load` supplies it (downloaded, read from a
// file; none when empty) and may write to the run log. The files it reads and writes are
// named so the run can refuse outputs that would overwrite an input.
struct BadCallSource {
  std::function<BadCallList(RunLog& log)> load;
  std::string list_file;   // the list the operator named, or ""
  std::string local_copy;  // the downloaded copy kept beside the output, or ""
};

// What a run writes besides the run log, asked for and done.
struct RunOutputs {
  bool results_page_wanted = true;  // write the results page once the workbook is saved
  bool workbook_saved = false;      // also by a run whose log holds error lines
  std::string results_page;         // the page's path once written; empty otherwise
};

// 0 on success; -1 with a text for the operator in operator_config.message. The caller
// shows the text and empties the slot.
int run_conversion(OperatorConfig& operator_config, const ProgramPaths& paths,
                   const SystemInfo& system, const BadCallSource& bad_calls,
                   std::time_t now = std::time(nullptr));

// The same, refreshing a country file that has grown old by `country_refresh` first, and
// telling what was written: a run whose log holds error lines saves the workbook and the
// page and still returns -1. A page that cannot be written is a warning in the run log, not
// a failure of the run.
int run_conversion(OperatorConfig& operator_config, const ProgramPaths& paths,
                   const SystemInfo& system, const BadCallSource& bad_calls,
                   const CountryFileRefresh& country_refresh, RunOutputs& outputs,
                   std::time_t now = std::time(nullptr));

}  // namespace tarvenix
