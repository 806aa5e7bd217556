// An in-memory FileSystem for the store's tests: files in a map, a listing order that can
// be set, a program version that can be taken away, and writes that can be made to fail.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/file_system.h"

namespace tarvenix {

class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, std::vector<uint8_t>> files;
  std::optional<FileVersion> version = FileVersion{1, 7};
  uint32_t write_error = 0;  // when set, replace_file fails with it
  int writes = 0;

  std::vector<std::string> find_config_files(const std::string& directory) override {
    std::vector<std::string> names;
    for (const auto& [path, bytes] : files) {
      if (!path.starts_with(directory) || !path.ends_with(".cfg")) continue;
      const std::string name = path.substr(directory.size());
      if (name.find('\\') == std::string::npos) names.push_back(name);
    }
    return names;
  }
  Result<std::vector<uint8_t>> read_file(const std::string& path, size_t limit) override {
    const auto it = files.find(path);
    if (it == files.end()) return Failure{"no such file", 2};
    const size_t n = std::min(limit, it->second.size());
    return std::vector<uint8_t>(it->second.begin(), it->second.begin() + static_cast<ptrdiff_t>(n));
  }
  uint32_t replace_file(const std::string& path, std::span<const uint8_t> bytes) override {
    ++writes;
    if (write_error != 0) return write_error;
    files[path].assign(bytes.begin(), bytes.end());
    return 0;
  }
  bool file_exists(const std::string& path) override { return files.count(path) != 0; }
  bool delete_file(const std::string& path) override { return files.erase(path) != 0; }
  std::optional<FileVersion> file_version(const std::string&) override { return version; }
};

}  // namespace tarvenix
