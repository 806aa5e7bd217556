// The one owner of a C stream: the file is closed when its owner goes.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "records/result.h"

namespace tarvenix {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using OwnedFile = std::unique_ptr<std::FILE, FileCloser>;

// fopen with `mode`; a failure carries the system's text for the error and its errno value.
Result<OwnedFile> open_file(const std::string& path, const char* mode);

// The most of a system error text that goes into a message for the operator.
inline constexpr size_t system_text_limit = 63;

// The system's text for the error of the last failed call of the C library.
std::string last_error_text();

}  // namespace tarvenix
