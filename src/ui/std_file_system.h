// FileSystem on the C++ standard library: the configuration store on a Linux disk (and
// the tests' real-file round trips on both targets). Program files carry no version here.
#pragma once

#include "ui/file_system.h"

namespace tarvenix {

class StdFileSystem : public FileSystem {
 public:
  std::vector<std::string> find_config_files(const std::string& directory) override;
  FileRead read_file(const std::string& path, size_t limit) override;
  uint32_t replace_file(const std::string& path, std::span<const uint8_t> bytes) override;
  bool file_exists(const std::string& path) override;
  bool delete_file(const std::string& path) override;
  std::optional<FileVersion> file_version(const std::string& path) override;
};

}  // namespace tarvenix
