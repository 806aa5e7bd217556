// Reading a whole file into memory, with a limit on what may be held.
#pragma once

#include <cerrno>
#include <string>

#include "records/result.h"

namespace tarvenix {

// The failure code of a file longer than the limit (errno's own "File too large"; opening a
// file for reading never gives it). A missing file fails with ENOENT, others with errno and the
// system's text.
inline constexpr int file_too_large = EFBIG;

// The whole file at `path`, opened in binary mode; one longer than `limit` bytes is the failure
// "file too large".
Result<std::string> read_file(const std::string& path, size_t limit);

// The first `limit` bytes of the file, or all of it when it is shorter.
Result<std::string> read_file_start(const std::string& path, size_t limit);

}  // namespace tarvenix
