// One conversion per output at a time: a run holds an exclusive lock on "NAME.lock" beside
// its output while it writes, and a second run on the same output finds it taken at once
// instead of interleaving its files with the first. The lock goes with its holder, also when
// the holder is killed; the lock file is removed when it is released.
#pragma once

#include <string>

namespace tarvenix {

class OutputLock {
 public:
  enum class Result { held, busy, failed };

  OutputLock() = default;
  ~OutputLock();
  OutputLock(const OutputLock&) = delete;
  OutputLock& operator=(const OutputLock&) = delete;

  // Takes the lock of `path`'s lock file without waiting. On `failed`, error() holds the
  // system's text.
  Result take(const std::string& path);
  const std::string& error() const { return error_; }

 private:
  void release();

  int descriptor_ = -1;
  std::string lock_path_;
  std::string error_;
};

// The lock file's path of an output.
std::string lock_path_of(const std::string& path);

}  // namespace tarvenix
