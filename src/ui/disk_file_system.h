// FileSystem on the real disk, built on the platform's own interface: the Windows API on
// Windows (ANSI names, as the program's paths are, and the error codes the operator is told;
// win32/win32_file_system.cpp), the C++ standard library elsewhere, where program files
// carry no version (std_file_system.cpp).
#pragma once

#include "ui/file_system.h"

namespace tarvenix {

class DiskFileSystem : public FileSystem {
 public:
  std::vector<std::string> find_config_files(const std::string& directory) override;
  Result<std::vector<uint8_t>> read_file(const std::string& path, size_t limit) override;
  uint32_t replace_file(const std::string& path, std::span<const uint8_t> bytes) override;
  bool file_exists(const std::string& path) override;
  bool delete_file(const std::string& path) override;
  std::optional<FileVersion> file_version(const std::string& path) override;
};

}  // namespace tarvenix
