// File and memory byte sources for the ADIF reader.
#include "adif/input.h"

#include <cstring>

namespace tarvenix {

bool FileSource::open(const std::string& path) {
  Result<OwnedFile> opened = open_file(path, "rb");
  if (!opened.ok()) {
    file_.reset();
    error_ = opened.reason();
    return false;
  }
  file_ = std::move(opened).value();
  error_.clear();
  return true;
}

size_t FileSource::read(char* dst, size_t n) {
  if (file_ == nullptr) return 0;
  const size_t got = std::fread(dst, 1, n, file_.get());
  if (got == 0 && std::ferror(file_.get())) error_ = last_error_text();
  return got;
}

size_t MemorySource::read(char* dst, size_t n) {
  const size_t got = n < rest_.size() ? n : rest_.size();
  if (got != 0) std::memcpy(dst, rest_.data(), got);
  rest_.remove_prefix(got);
  return got;
}

}  // namespace tarvenix
