// Whole files in and out: reading a file into memory, and replacing a file through a temporary
// file in the same folder so a failed write leaves the old file as it was.
#pragma once

#include <functional>
#include <string>

#include "xlsx/sink.h"

namespace tarvenix::xlsx {

// False with "file not found" or "can't read the file: ..." (or "file too large").
bool read_file(const std::string& path, size_t max_size, std::string& bytes, std::string& error);

// Calls `write` with a sink on a temporary file beside `path`, then renames it over `path`.
// On any failure the temporary file is removed and `path` is untouched.
bool replace_file(const std::string& path, const std::function<bool(Sink&, std::string&)>& write,
                  std::string& error);

}  // namespace tarvenix::xlsx
