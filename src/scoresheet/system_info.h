// What the program learns about the system at start-up: the Windows version and the
// version of the Visual C++ runtime package; the run log's header prints them.
#pragma once

#include <cstdint>
#include <string>

namespace tarvenix {

struct SystemInfo {
  uint32_t os_major = 0;  // from RtlGetVersion; 0 when it is not available
  uint32_t os_minor = 0;
  uint32_t os_build = 0;
  uint8_t os_product_type = 0;  // VER_NT_WORKSTATION (1), domain controller (2), server (3)
  int32_t runtime_major = 0;    // from the runtime's registry key
  int32_t runtime_minor = 0;
  int32_t runtime_build = 0;
  // The command-line program's header names the system (empty: named from the Windows
  // version) and the program's own version instead of the runtime.
  bool command_line = false;
  std::string system_name;
  std::string program_version;
};

}  // namespace tarvenix
