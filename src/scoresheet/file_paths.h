// Where a conversion's run log and results page go: beside the output, under its name.
#pragma once

#include <string>

namespace tarvenix {

// The output's path with its extension (from the last '.' of the file name) replaced by
// ".log"; ".log" appended when the name has no extension or already ends in ".log".
std::string run_log_path(const std::string& output_path);

// The same with ".html".
std::string results_page_path(const std::string& output_path);

}  // namespace tarvenix
