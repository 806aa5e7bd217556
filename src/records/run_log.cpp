// The run log's file and its line counts.
#include "records/run_log.h"

#include <cstdarg>
#include <cstdio>

namespace tarvenix {

namespace {
constexpr size_t line_buffer_size = 1024;  // most lines fit; longer ones take a string
}

Result<> RunLog::open(const std::string& file_path) {
  file_.abandon();
  write_error_.clear();
  open_ = file_.open(file_path, FileSink::Mode::text);
  if (!open_) return Failure{file_.error()};
  path = file_path;
  return {};
}

bool RunLog::sync() {
  if (!open_) return false;
  if (write_error_.empty() && !file_.sync()) write_error_ = file_.error();
  return write_error_.empty();
}

bool RunLog::commit() {
  if (!open_) return false;
  open_ = false;
  if (!write_error_.empty()) {
    file_.abandon();
    return false;
  }
  if (!file_.commit()) write_error_ = file_.error();
  return write_error_.empty();
}

void RunLog::take(const char* data, size_t size) {
  if (open_ && write_error_.empty() && !file_.write(data, size)) write_error_ = file_.error();
}

void RunLog::write(std::string_view text) {
  take(text.data(), text.size());
}

void RunLog::vprint(const char* format, std::va_list args) {
  if (!open_) return;
  char line[line_buffer_size];
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(line, sizeof line, format, args);
  if (length < 0) {
    va_end(again);
    return;
  }
  if (static_cast<size_t>(length) < sizeof line) {
    take(line, static_cast<size_t>(length));
  } else {
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, again);
    take(text.data(), static_cast<size_t>(length));
  }
  va_end(again);
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
