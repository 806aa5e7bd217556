// The file-system seam of the configuration store: the few operations it needs, so the
// store's rules run on Windows, on a Linux disk and in memory (tests force failures there).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "records/result.h"

namespace tarvenix {

// major.minor of a program file's version resource.
struct FileVersion {
  uint16_t major = 0;
  uint16_t minor = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Names (without directory) of the files in `directory` whose names end in ".cfg", in
  // the order the system lists them. `directory` ends with its separator, or is empty.
  virtual std::vector<std::string> find_config_files(const std::string& directory) = 0;

  // At most `limit` bytes from the start of the file; a failure carries the system's error code.
  virtual Result<std::vector<uint8_t>> read_file(const std::string& path, size_t limit) = 0;

  // Replaces the file with `bytes` as one step (a temporary file renamed over it), so an
  // interrupted save never leaves a damaged file. Returns 0 or the system's error code.
  virtual uint32_t replace_file(const std::string& path, std::span<const uint8_t> bytes) = 0;

  virtual bool file_exists(const std::string& path) = 0;
  virtual bool delete_file(const std::string& path) = 0;

  // The version resource of a program file, when it has one.
  virtual std::optional<FileVersion> file_version(const std::string& path) = 0;
};

}  // namespace tarvenix
