// The run log of one conversion: a buffered text file beside the output workbook, and the
// counts of the note, warning and error lines written to it. Whoever writes a line raises
// the count of its kind; note(), warn() and error() do both at once.
//
// The log is written like the workbook: into a temporary file beside it that replaces the
// previous log only at commit(), so a run that dies leaves the previous log whole. Every
// write is checked; the first failure is kept for the run to report.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/atomic_file.h"
#include "records/printf_format.h"
#include "records/result.h"

namespace tarvenix {

// "========================================\n": divides the blocks of the run log.
inline constexpr std::string_view log_separator = "========================================\n";

class RunLog {
 public:
  // Starts a new log for `path` in text mode, dropping an uncommitted one; a failure carries
  // the system's text.
  Result<> open(const std::string& path);
  // Makes the text so far durable in the temporary file (tests read it back from there).
  bool sync();
  // Puts the new log in place of the previous one; the counts stay. False, with
  // write_error() saying why, when any write failed or the file could not be replaced.
  bool commit();
  bool is_open() const { return open_; }
  const std::string& temporary_path() const { return file_.temporary_path(); }
  // The system's text for the first failed write, or "".
  const std::string& write_error() const { return write_error_; }

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
  void take(const char* data, size_t size);

  AtomicFile file_;
  bool open_ = false;
  std::string write_error_;
};

}  // namespace tarvenix
