// The Windows version as the system itself reports it (RtlGetVersion, which unlike
// GetVersionEx is not capped by the program's manifest); the program's file from the module.
#include <windows.h>

#include "build_info.h"
#include "cli/system_info.h"
#include "records/paths.h"

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

std::string program_directory() {
  char path[MAX_PATH];
  const DWORD size = GetModuleFileNameA(nullptr, path, sizeof path);
  if (size == 0 || size == sizeof path) return {};
  return folder_of(std::string_view(path, size));
}

}  // namespace tarvenix
