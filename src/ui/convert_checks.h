// The file checks that come before every conversion, shared by the window's Convert command
// and the command-line program: the first failing one gives the text for the operator.
#pragma once

#include <optional>
#include <string>

#include "ui/program_paths.h"

namespace tarvenix {

// Nothing when the ADIF log, the Scoresheet and the output are chosen and usable together;
// otherwise the text of the first check that fails.
std::optional<std::string> check_convert_files(const ProgramPaths& paths);

}  // namespace tarvenix
