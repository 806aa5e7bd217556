// The run log of one conversion: a buffered text file beside the output workbook, and the
// counts of the note, warning and error lines written to it. Whoever writes a line raises
// the count of its kind; note(), warn() and error() do both at once.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/owned_file.h"
#include "records/printf_format.h"

namespace tarvenix {

// "========================================\n": divides the blocks of the run log.
inline constexpr std::string_view LOG_SEPARATOR = "========================================\n";

class RunLog {
 public:
  RunLog() = default;
  RunLog(RunLog&&) = default;
  RunLog& operator=(RunLog&&) = default;

  // Opens `path` for writing in text mode ("w"), replacing an open file. On failure returns
  // false and leaves the system's text for the error in `*error` (when given).
  bool open(const std::string& path, std::string* error = nullptr);
  // Flushes and closes the file; the counts stay. Closing a closed log does nothing.
  void close();
  // Hands the buffered text to the file (tests read it back while the log stays open).
  void flush();
  bool is_open() const { return file_ != nullptr; }

  // Raw text, counted nowhere (continuations, separators, the header). Without an open file
  // the text goes nowhere, so the rules can run without a log on disc.
  void write(std::string_view text);
  void print(const char* format, ...) TARVENIX_PRINTF(2, 3);

  // One "INFO:"/"DXCC:"/"WAZ:", "WARN:" or "ERROR:" line (or its first part): writes it and
  // adds one to notes, warnings or errors.
  void note(const char* format, ...) TARVENIX_PRINTF(2, 3);
  void warn(const char* format, ...) TARVENIX_PRINTF(2, 3);
  void error(const char* format, ...) TARVENIX_PRINTF(2, 3);

  std::string path;      // the run log's path
  int32_t notes = 0;     // "INFO:", "DXCC:" and "WAZ:" lines of the evaluation
  int32_t warnings = 0;  // "WARN:" lines
  int32_t errors = 0;    // "ERROR:" and "ERROR on line" lines

 private:
  void vprint(const char* format, std::va_list args);

  OwnedFile file_;
};

}  // namespace tarvenix
