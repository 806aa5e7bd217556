// The lock file: flock() on POSIX systems; on Windows an open that shares nothing and
// deletes the file when it closes.
#include "records/output_lock.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <share.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tarvenix {

namespace {

#ifdef _WIN32

OutputLock::Result open_locked(const std::string& path, int& descriptor) {
  const int flags = _O_CREAT | _O_RDWR | _O_BINARY | _O_TEMPORARY | _O_NOINHERIT;
  if (_sopen_s(&descriptor, path.c_str(), flags, _SH_DENYRW, _S_IREAD | _S_IWRITE) == 0) {
    return OutputLock::Result::held;
  }
  descriptor = -1;
  return errno == EACCES ? OutputLock::Result::busy : OutputLock::Result::failed;
}

void close_locked(const std::string&, int descriptor) {
  _close(descriptor);  // _O_TEMPORARY removes the file
}

#else

// The file at `path` is still the one `descriptor` locked (a releasing holder may have
// removed it between our open and our lock).
bool still_in_place(const std::string& path, int descriptor) {
  struct stat opened {
  }, named{};
  return fstat(descriptor, &opened) == 0 && stat(path.c_str(), &named) == 0 &&
         opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

OutputLock::Result open_locked(const std::string& path, int& descriptor) {
  constexpr int attempts = 8;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0) return OutputLock::Result::failed;
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
      const int failure = errno;
      ::close(descriptor);
      descriptor = -1;
      errno = failure;
      return failure == EWOULDBLOCK ? OutputLock::Result::busy : OutputLock::Result::failed;
    }
    if (still_in_place(path, descriptor)) return OutputLock::Result::held;
    ::close(descriptor);
    descriptor = -1;
  }
  errno = EAGAIN;
  return OutputLock::Result::failed;
}

void close_locked(const std::string& path, int descriptor) {
  ::unlink(path.c_str());  // while still locked, so no one takes a lock on a file going away
  ::close(descriptor);
}

#endif

}  // namespace

std::string lock_path_of(const std::string& path) {
  return path + ".lock";
}

OutputLock::~OutputLock() {
  release();
}

OutputLock::Result OutputLock::take(const std::string& path) {
  release();
  lock_path_ = lock_path_of(path);
  const Result result = open_locked(lock_path_, descriptor_);
  if (result == Result::failed) error_ = std::strerror(errno);
  return result;
}

void OutputLock::release() {
  if (descriptor_ < 0) return;
  close_locked(lock_path_, descriptor_);
  descriptor_ = -1;
}

}  // namespace tarvenix
