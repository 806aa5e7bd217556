// The run log's file and its line counts.
#include "records/run_log.h"

#include <cstdarg>

namespace tarvenix {

namespace {
constexpr size_t kBufferSize = 1 << 16;  // lines are many and short; write in large blocks
}

bool RunLog::open(const std::string& file_path, std::string* error_text) {
  close();
  file_ = open_file(file_path, "w", error_text);
  if (file_ == nullptr) return false;
  std::setvbuf(file_.get(), nullptr, _IOFBF, kBufferSize);
  path = file_path;
  return true;
}

void RunLog::close() {
  file_.reset();
}

void RunLog::flush() {
  if (file_ != nullptr) std::fflush(file_.get());
}

void RunLog::write(std::string_view text) {
  if (file_ != nullptr && !text.empty()) std::fwrite(text.data(), 1, text.size(), file_.get());
}

void RunLog::vprint(const char* format, std::va_list args) {
  if (file_ != nullptr) std::vfprintf(file_.get(), format, args);
}

void RunLog::print(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  vprint(format, args);
  va_end(args);
}

void RunLog::note(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  vprint(format, args);
  va_end(args);
  ++notes;
}

void RunLog::warn(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  vprint(format, args);
  va_end(args);
  ++warnings;
}

void RunLog::error(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  vprint(format, args);
  va_end(args);
  ++errors;
}

}  // namespace tarvenix
