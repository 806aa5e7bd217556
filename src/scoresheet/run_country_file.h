// The country file of a conversion run and the run-log lines about it.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "countryfile/country_file.h"
#include "records/operator_config.h"
#include "records/program_paths.h"
#include "records/run_log.h"

namespace tarvenix {

// How a run may bring the country file up to date; the caller, which owns the network,
// supplies it. Without `fetch` the run refreshes nothing.
struct CountryFileRefresh {
  // Stores a newer file at `target`, not older than `in_use_version` (empty: any); why it
  // could not, or "" when it did.
  std::function<std::string(const std::string& target, const std::string& in_use_version)> fetch;
  std::string source;  // the address, named in the run log when the refresh fails
};

// Nothing when the operator switched the file off. Else the file named in
// paths.country_file, or the one found (see default_country_file), which is refreshed first
// when it is due on the day of `now`: an "INFO:" line naming it (and "WARN:" lines for lines
// it had to leave out, a version older than the contest year, a failed refresh), or one
// "WARN:" line when there is none to use; then a separator.
std::optional<CountryFile> open_run_country_file(const OperatorConfig& operator_config,
                                                 const ProgramPaths& paths,
                                                 const CountryFileRefresh& refresh, std::time_t now,
                                                 RunLog& log);

}  // namespace tarvenix
