// What the run log's header says about the system tarvenix-convert runs on.
#pragma once

#include "records/system_info.h"

namespace tarvenix {

SystemInfo command_line_system_info();

}  // namespace tarvenix
