// The string and file sinks.
#include "records/sink.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tarvenix {

namespace {

bool sync_to_disc(std::FILE* file) {
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

}  // namespace

bool StringSink::write(const char* data, size_t size) {
  bytes_.append(data, size);
  return true;
}

bool FileSink::open(const std::string& path) {
  file_ = open_file(path, "wb", &error_);
  return file_ != nullptr;
}

bool FileSink::write(const char* data, size_t size) {
  if (file_ == nullptr) return false;
  if (size > 0 && std::fwrite(data, 1, size, file_.get()) != size) {
    error_ = last_error_text();
    return false;
  }
  return true;
}

bool FileSink::finish() {
  if (file_ == nullptr) return false;
  bool ok = std::fflush(file_.get()) == 0 && sync_to_disc(file_.get());
  if (!ok) error_ = last_error_text();
  if (std::fclose(file_.release()) != 0 && ok) {
    error_ = last_error_text();
    ok = false;
  }
  return ok;
}

}  // namespace tarvenix
