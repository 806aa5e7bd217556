// The string and file sinks.
#include "xlsx/sink.h"

#include <cerrno>
#include <cstring>

namespace tarvenix::xlsx {

bool StringSink::write(const char* data, size_t size) {
  bytes_.append(data, size);
  return true;
}

FileSink::~FileSink() {
  if (file_ != nullptr) std::fclose(file_);
}

bool FileSink::open(const std::filesystem::path& path) {
#ifdef _WIN32
  file_ = _wfopen(path.c_str(), L"wb");
#else
  file_ = std::fopen(path.c_str(), "wb");
#endif
  if (file_ == nullptr) error_ = std::strerror(errno);
  return file_ != nullptr;
}

bool FileSink::write(const char* data, size_t size) {
  if (file_ == nullptr) return false;
  if (size > 0 && std::fwrite(data, 1, size, file_) != size) {
    error_ = std::strerror(errno);
    return false;
  }
  return true;
}

bool FileSink::close() {
  if (file_ == nullptr) return false;
  const bool flushed = std::fflush(file_) == 0;
  if (!flushed) error_ = std::strerror(errno);
  const bool closed = std::fclose(file_) == 0;
  if (flushed && !closed) error_ = std::strerror(errno);
  file_ = nullptr;
  return flushed && closed;
}

}  // namespace tarvenix::xlsx
