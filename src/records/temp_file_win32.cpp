// New uniquely named temporary files on Windows: GetTempFileNameA makes "<prefix><hex>.tmp"
// and creates it empty.
#include <windows.h>

#include "records/temp_file.h"

namespace tarvenix {

std::optional<std::string> create_temporary_file(const std::string& directory,
                                                 std::string_view prefix) {
  char path[MAX_PATH] = {};
  const std::string folder = directory.empty() ? "." : directory;
  if (GetTempFileNameA(folder.c_str(), std::string(prefix).c_str(), 0, path) == 0)
    return std::nullopt;
  return std::string(path);
}

}  // namespace tarvenix
