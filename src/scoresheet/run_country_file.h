// The country file of a conversion run and the run-log lines about it.
#pragma once

#include <optional>

#include "countryfile/country_file.h"
#include "records/operator_config.h"
#include "records/program_paths.h"
#include "records/run_log.h"

namespace tarvenix {

// Nothing when the operator switched the file off. Else the file named in
// paths.country_file, or cty.csv in the program's folder, or the installed one: an "INFO:"
// line naming it (and a "WARN:" line for lines it had to leave out), or one "WARN:" line
// when there is none to use; then a separator.
std::optional<CountryFile> open_run_country_file(const OperatorConfig& operator_config,
                                                 const ProgramPaths& paths, RunLog& log);

}  // namespace tarvenix
