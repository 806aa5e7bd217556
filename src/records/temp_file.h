// New, uniquely named empty files: where a download lands before it is checked.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvenix {

// A new, empty, uniquely named file "<prefix><hex>.tmp" in `directory` (which ends with its
// separator, or is empty for the current folder); its path, or nothing when none could be
// made.
std::optional<std::string> create_temporary_file(const std::string& directory,
                                                 std::string_view prefix);

}  // namespace tarvenix
