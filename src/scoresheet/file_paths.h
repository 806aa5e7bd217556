// Path rules of a conversion: where the run log goes, and whether two names are one file.
#pragma once

#include <string>

namespace tarvenix {

// The output's path with its extension (from the last '.' of the file name) replaced by
// ".log"; ".log" appended when the name has no extension or already ends in ".log".
std::string run_log_path(const std::string& output_path);

// True when both names lead to the same file, compared as the platform compares paths
// (after making them absolute; without regard to case on Windows).
bool same_file(const std::string& a, const std::string& b);

}  // namespace tarvenix
