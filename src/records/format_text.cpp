// vsnprintf twice: once to measure, once to write.
#include "records/format_text.h"

#include <cstdarg>
#include <cstdio>

namespace tarvenix {

namespace {

void vformat_to(std::string& out, const char* format, std::va_list args) {
  std::va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length <= 0) {
    out.clear();
    return;
  }
  out.resize(static_cast<size_t>(length));
  std::vsnprintf(out.data(), out.size() + 1, format, args);
}

}  // namespace

std::string format_text(const char* format, ...) {
  std::string text;
  std::va_list args;
  va_start(args, format);
  vformat_to(text, format, args);
  va_end(args);
  return text;
}

void format_to(std::string& out, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  vformat_to(out, format, args);
  va_end(args);
}

std::string mebibytes_text(uint64_t bytes) {
  return std::to_string(bytes >> 20) + " MiB";
}

}  // namespace tarvenix
