// Names of files: the folder and the part after it, and whether two names lead to one file.
#pragma once

#include <string>
#include <string_view>

namespace tarvenix {

// Both of the separators Windows accepts; a place that splits at fewer names its own.
inline constexpr std::string_view path_separators = "/\\";

// The part of a path after its last separator: the whole path when it has none.
std::string file_name_of(std::string_view path, std::string_view separators = path_separators);

// The part of a path up to its last separator, that separator included; empty when it has
// none, so that the folder and the file name put together give the path again.
std::string folder_of(std::string_view path, std::string_view separators = path_separators);

// True when both names lead to the same file, compared as the platform compares paths
// (after making them absolute; without regard to case on Windows; links followed).
bool same_file(const std::string& a, const std::string& b);

}  // namespace tarvenix
