// Opening C streams with the failure's text kept.
#include "records/owned_file.h"

#include <cerrno>
#include <cstring>

namespace tarvenix {

Result<OwnedFile> open_file(const std::string& path, const char* mode) {
  errno = 0;
  OwnedFile file(std::fopen(path.c_str(), mode));
  if (file) return file;
  const int failure = errno != 0 ? errno : ENOENT;
  return Failure{std::strerror(failure), failure};
}

std::string last_error_text() {
  return std::strerror(errno != 0 ? errno : EIO);
}

}  // namespace tarvenix
