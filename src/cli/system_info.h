// What tarvenix-convert learns from the system it runs on: what the run log's header says
// about it, and the folder of the program's own file.
#pragma once

#include <string>

#include "scoresheet/system_info.h"

namespace tarvenix {

SystemInfo command_line_system_info();

// The folder holding the running program's file, with its trailing separator; empty when
// the system does not tell.
std::string program_directory();

}  // namespace tarvenix
