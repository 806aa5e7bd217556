// File and memory byte sources for the ADIF reader.
#include "adif/input.h"

#include <cerrno>
#include <cstring>

namespace tarvenix {

FileSource::~FileSource() {
  if (file_ != nullptr) std::fclose(file_);
}

bool FileSource::open(const std::string& path) {
  if (file_ != nullptr) std::fclose(file_);
  errno = 0;
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) {
    error_ = std::strerror(errno != 0 ? errno : ENOENT);
    return false;
  }
  error_.clear();
  return true;
}

size_t FileSource::read(char* dst, size_t n) {
  if (file_ == nullptr) return 0;
  const size_t got = std::fread(dst, 1, n, file_);
  if (got == 0 && std::ferror(file_)) error_ = std::strerror(errno != 0 ? errno : EIO);
  return got;
}

size_t MemorySource::read(char* dst, size_t n) {
  const size_t got = n < rest_.size() ? n : rest_.size();
  if (got != 0) std::memcpy(dst, rest_.data(), got);
  rest_.remove_prefix(got);
  return got;
}

}  // namespace tarvenix
