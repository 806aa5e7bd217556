// The country file of a conversion run and the run-log lines about it.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "countryfile/country_file.h"
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

// Which country file a run uses.
struct CountryFileChoice {
  bool off = false;            // the operator switched the file off
  std::string named_file;      // named on the command line; empty: the one found
  std::string program_dir;     // where the copy beside the program is looked for
  CountryFileRefresh refresh;  // how a found copy that has grown old is refreshed
};

// Nothing when the operator switched the file off. Else the named file, or the one found
// (see default_country_file), which is refreshed first when it has grown old by `now`: an
// "INFO:" line naming it (and "WARN:" lines for lines it had to leave out, a version older
// than the contest year, a failed refresh), or one "WARN:" line when there is none to use;
// then a separator.
std::optional<CountryFile> open_run_country_file(const CountryFileChoice& choice, std::time_t now,
                                                 RunLog& log);

}  // namespace tarvenix
