// The run log's header: when the conversion ran, and on what.
#pragma once

#include <ctime>
#include <string>

#include "records/run_log.h"
#include "scoresheet/system_info.h"

namespace tarvenix {

// The name of a Windows version (major, minor, product type 1 for a workstation).
std::string windows_name(uint32_t major, uint32_t minor, uint8_t product_type);

// "11/25/24 18:30:05" for `now` in UTC; empty when the time cannot be turned into UTC.
std::string utc_time_text(std::time_t now);

// Writes the header block; false (and nothing written) when `now` has no UTC form.
bool write_log_header(RunLog& log, const SystemInfo& system, std::time_t now);

}  // namespace tarvenix
