// Names of files: the part after the folder, and whether two names lead to one file.
#pragma once

#include <string>

namespace tarvenix {

// The part of a path after its last '\' or '/'.
std::string file_name_of(const std::string& path);

// True when both names lead to the same file, compared as the platform compares paths
// (after making them absolute; without regard to case on Windows; links followed).
bool same_file(const std::string& a, const std::string& b);

}  // namespace tarvenix
