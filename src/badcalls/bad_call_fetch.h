// Getting the bad-call list for a conversion run: downloaded from the contest's server on
// every run, kept as "all-bad-calls.json" in the output workbook's folder, and loaded.
//
// A download replaces the local copy only when the server answered 200 with a JSON object,
// so an error page, a captive portal's page or a broken-off transfer never spoils the last
// good copy. When no new list can be had the run goes on with that copy, or without a list,
// and says so in one "WARN:" line. Network failures themselves are told at once through the
// network's teller, never written to the run log.
#pragma once

#include <string>

#include "badcalls/bad_call_list.h"
#include "net/fetch.h"
#include "net/web_endpoints.h"
#include "records/run_log.h"

namespace tarvenix {

inline constexpr const char* bad_calls_file_name = "all-bad-calls.json";

// The list's address on the contest's server.
WebUrl bad_calls_url(const WebEndpoints& endpoints);

// The local copy's path: "all-bad-calls.json" in the folder of `output_path` (the output
// workbook), or in the current folder when that path names no folder.
std::string local_bad_calls_path(const std::string& output_path);

// Downloads the list from `url` into the local copy beside `output_path` and loads it.
BadCallList fetch_bad_calls(const Network& network, const std::string& output_path,
                            const WebUrl& url, bool useHttps, RunLog& log);
// The same from the contest's server of `endpoints`.
BadCallList fetch_bad_calls(const Network& network, const std::string& output_path,
                            const WebEndpoints& endpoints, RunLog& log);

// Loads a list the operator names instead of downloading one. A file that is not a JSON
// object gives "WARN:\tbad json file: %s\n" and the empty list.
BadCallList read_bad_calls_file(const std::string& path, RunLog& log);

}  // namespace tarvenix
