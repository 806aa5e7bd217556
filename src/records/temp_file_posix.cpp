// New uniquely named temporary files elsewhere than Windows: "<prefix><hex>.tmp", created
// exclusively so that an existing file is never taken over.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "records/temp_file.h"

namespace tarvenix {

std::optional<std::string> create_temporary_file(const std::string& directory,
                                                 std::string_view prefix) {
  std::random_device seed;
  std::mt19937 numbers(seed());
  constexpr int attempts = 100;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    char unique[8];
    std::snprintf(unique, sizeof unique, "%X", unsigned(numbers() & 0xFFFF));
    const std::string path = directory + std::string(prefix) + unique + ".tmp";
    const int file = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
    if (file >= 0) {
      close(file);
      return path;
    }
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace tarvenix
