// The run log's header. The window program names Windows and its runtime; the command-line
// program names the system it runs on and its own version.
#include "scoresheet/log_header.h"

namespace tarvenix {

namespace {

struct WindowsName {
  uint32_t major;
  uint32_t minor;
  const char* workstation;
  const char* server;
};

constexpr WindowsName windows_names[] = {
    {5, 0, "Windows 2000", "Windows 2000"},
    {5, 1, "Windows XP", "Windows XP"},
    {5, 2, "Windows XP Professional x64 Edition", "Windows Server 2003"},
    {6, 0, "Windows Vista", "Windows Server 2008"},
    {6, 1, "Windows 7", "Windows Server 2008 R2"},
    {6, 2, "Windows 8", "Windows Server 2012"},
    {6, 3, "Windows 8.1", "Windows Server 2012 R2"},
    {10, 0, "Windows 10", "Windows Server 2016"},
};

}  // namespace

std::string windows_name(uint32_t major, uint32_t minor, uint8_t product_type) {
  for (const WindowsName& row : windows_names) {
    if (row.major == major && row.minor == minor) {
      return product_type == 1 ? row.workstation : row.server;
    }
  }
  return "Windows";  // a version the table does not know: the numbers follow
}

std::string utc_time_text(std::time_t now) {
  const std::tm* utc = std::gmtime(&now);
  if (utc == nullptr) return {};
  char text[32];
  if (std::strftime(text, sizeof text, "%m/%d/%y %H:%M:%S", utc) == 0) return {};
  return text;
}

bool write_log_header(RunLog& log, const SystemInfo& system, std::time_t now) {
  const std::string time = utc_time_text(now);
  if (time.empty()) return false;
  const std::string name =
      system.system_name.empty()
          ? windows_name(system.os_major, system.os_minor, system.os_product_type)
          : system.system_name;
  log.write(log_separator);
  log.print("Converted on %s UTC\n", time.c_str());
  log.print("%s [Version %0d.%0d.%0d]\n", name.c_str(), static_cast<int>(system.os_major),
            static_cast<int>(system.os_minor), static_cast<int>(system.os_build));
  if (system.command_line) {
    log.print("tarvenix-convert version %s\n", system.program_version.c_str());
  } else {
    log.print("Microsoft Visual C++ Redistributable version %0d.%0d.%0d\n", system.runtime_major,
              system.runtime_minor, system.runtime_build);
    log.print("LibXL version: %0d.%0d.%0d.%0d\n", 4, 2, 0, 0);
  }
  log.write(log_separator);
  return true;
}

}  // namespace tarvenix
