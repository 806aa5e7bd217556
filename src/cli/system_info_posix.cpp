// The system's name and version from uname; the program's file from /proc.
#include <sys/utsname.h>

#include <cstdio>
#include <filesystem>

#include "build_info.h"
#include "cli/system_info.h"

namespace tarvenix {

SystemInfo command_line_system_info() {
  SystemInfo info;
  info.command_line = true;
  info.program_version = TARVENIX_VERSION;
  utsname name{};
  if (uname(&name) != 0) {
    info.system_name = "Unknown system";
    return info;
  }
  info.system_name = name.sysname;
  unsigned major = 0, minor = 0, build = 0;  // "6.1.0-18-amd64" gives 6, 1, 0
  std::sscanf(name.release, "%u.%u.%u", &major, &minor, &build);
  info.os_major = major;
  info.os_minor = minor;
  info.os_build = build;
  return info;
}

std::string program_directory() {
  std::error_code error;
  const std::filesystem::path file = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || !file.has_parent_path()) return {};
  return file.parent_path().string() + "/";
}

}  // namespace tarvenix
