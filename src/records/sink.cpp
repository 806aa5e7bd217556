// The string and file sinks.
#include "records/sink.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tarvenix {

namespace {

constexpr size_t buffer_size = 1 << 16;

// Writes left before the injected failures start; negative when none are planned.
std::atomic<long long> writes_before_failure{-1};

bool injected_failure() {
  if (writes_before_failure.load() < 0) return false;
  if (writes_before_failure.fetch_sub(1) > 0) return false;
  writes_before_failure.store(0);
  errno = ENOSPC;
  return true;
}

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

void fail_file_writes_after(size_t count) {
  writes_before_failure.store(count == 0 ? -1 : static_cast<long long>(count) - 1);
}

bool FileSink::open(const std::string& path, Mode mode) {
  error_.clear();
  unsynced_ = false;
  Result<OwnedFile> opened = open_file(path, mode == Mode::text ? "w" : "wb");
  if (!opened.ok()) {
    file_.reset();
    error_ = opened.reason();
    return false;
  }
  file_ = std::move(opened).value();
  std::setvbuf(file_.get(), nullptr, _IOFBF, buffer_size);
  return true;
}

// Keeps the system's text of a failure. The first one stays, and the file stays failed:
// bytes after a lost block would only make a file that looks complete.
bool FileSink::fail(bool failed) {
  if (failed && error_.empty()) error_ = last_error_text();
  return !failed;
}

bool FileSink::write(const char* data, size_t size) {
  if (file_ == nullptr || !error_.empty()) return false;
  if (size == 0) return true;
  unsynced_ = true;
  return fail(injected_failure() || std::fwrite(data, 1, size, file_.get()) != size);
}

bool FileSink::sync() {
  if (file_ == nullptr || !error_.empty()) return false;
  // Only bytes still on their way can meet a full disc.
  const bool full = unsynced_ && injected_failure();
  unsynced_ = false;
  return fail(full || std::fflush(file_.get()) != 0 || !sync_to_disc(file_.get()));
}

bool FileSink::finish() {
  if (file_ == nullptr) return false;
  const bool synced = sync();
  return fail(std::fclose(file_.release()) != 0) && synced;
}

}  // namespace tarvenix
