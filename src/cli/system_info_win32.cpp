// The Windows version as the system itself reports it (RtlGetVersion, which unlike
// GetVersionEx is not capped by the program's manifest).
#include <windows.h>

#include "build_info.h"
#include "cli/system_info.h"

namespace tarvenix {

SystemInfo command_line_system_info() {
  SystemInfo info;
  info.command_line = true;
  info.program_version = TARVENIX_VERSION;
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  auto get_version = ntdll == nullptr ? nullptr
                                      : reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(
                                            GetProcAddress(ntdll, "RtlGetVersion")));
  OSVERSIONINFOEXW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (get_version != nullptr && get_version(&version) == 0) {
    info.os_major = version.dwMajorVersion;
    info.os_minor = version.dwMinorVersion;
    info.os_build = version.dwBuildNumber;
    info.os_product_type = version.wProductType;
  }
  return info;
}

}  // namespace tarvenix
