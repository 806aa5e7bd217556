// Reading a whole file into memory, with a limit on what may be held.
#pragma once

#include <string>

namespace tarvenix {

struct FileContents {
  bool ok = false;         // the file was opened and read to its end (or to the limit)
  bool not_found = false;  // no file of that name
  bool too_large = false;  // it holds more than the limit; `bytes` has the first part
  std::string bytes;
  std::string error;  // the system's text when not ok
  int code = 0;       // the errno value when not ok
};

// At most `limit` bytes of the file at `path`, opened in binary mode.
FileContents read_file(const std::string& path, size_t limit);

}  // namespace tarvenix
