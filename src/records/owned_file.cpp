// Opening C streams with the failure's text kept.
#include "records/owned_file.h"

#include <cerrno>
#include <cstring>

namespace tarvenix {

OwnedFile open_file(const std::string& path, const char* mode, std::string* error, int* code) {
  errno = 0;
  OwnedFile file(std::fopen(path.c_str(), mode));
  if (!file) {
    const int failure = errno != 0 ? errno : ENOENT;
    if (error != nullptr) *error = std::strerror(failure);
    if (code != nullptr) *code = failure;
  }
  return file;
}

std::string last_error_text() {
  return std::strerror(errno != 0 ? errno : EIO);
}

}  // namespace tarvenix
