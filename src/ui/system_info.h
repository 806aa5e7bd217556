// What the run log's header says about the system the conversion ran on.
#pragma once

#include <cstdint>
#include <string>

namespace tarvenix {

struct SystemInfo {
  // The Windows version block (RtlGetVersion).
  uint32_t major_version = 0;
  uint32_t minor_version = 0;
  uint32_t build_number = 0;
  uint8_t product_type = 0;  // 1: a workstation
  // The Visual C++ runtime found in the registry by the window program.
  int32_t runtime_major = 0;
  int32_t runtime_minor = 0;
  int32_t runtime_build = 0;
  // Set by the command-line program, whose header names the system and itself instead of
  // the runtime: `system_name` (empty: named from the Windows version) and its own version.
  std::string system_name;
  std::string program_version;
  bool command_line = false;
};

}  // namespace tarvenix
