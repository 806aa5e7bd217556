// The ADIF reader: turns a byte source into records of fields, one line per call.
//
// parse_ADIF reads the next line, adds every complete field on it to the caller's record and
// says whether the line only added fields, closed the header (<EOH>), closed a record
// (<EOR>), hit the end of the input, or failed. After a marker the next call goes on with the
// rest of the same line, so records packed on one line are all read. Lines of any length
// are read through one reused block buffer; a value that runs past its line (or past the
// block) is gathered in a scratch buffer that grows only as its bytes arrive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "adif/input.h"
#include "adif/record.h"

namespace tarvenix {

enum class ReaderStatus : int {
  line = 0,           // the line was scanned; the record goes on
  end_of_header = 1,  // <EOH>
  end_of_record = 2,  // <EOR>
  end_of_file = 3,    // also inside an unfinished value
  error = 4,          // the error text says why
};

// Declared length of "<NAME:digits...>": blanks, an optional sign, digits; no digits give 0.
// Saturates instead of overflowing, then clamps to the 32-bit range.
int32_t parse_declared_length(const char* begin, const char* end);

class AdifReader {
 public:
  static constexpr size_t default_block_size = 1 << 20;
  // What one value, one record or one tag may hold: no log needs more, and a crafted one
  // cannot make the reader take the machine's memory. More ends the reading with an error.
  static constexpr size_t max_value_size = size_t{64} << 20;
  static constexpr size_t max_record_size = size_t{64} << 20;
  static constexpr size_t max_tag_size = size_t{64} << 20;

  explicit AdifReader(ByteSource& source, size_t block_size = default_block_size);

  // Adds the fields of the next line to `record` (cleared by the caller after status 1 or
  // 2). With status 4, `error` holds the message, e.g. "Read error: ...".
  ReaderStatus parse_ADIF(QsoRecord& record, std::string& error);

 private:
  size_t capacity() const;  // bytes of input the block holds at most
  bool refill(size_t keep_from);
  ReaderStatus read_spanning_value(QsoRecord& record, size_t name_begin, size_t name_end,
                                   int32_t length, std::string& error);
  ReaderStatus read_failure(std::string& error) const;
  bool add_bounded(QsoRecord& record, std::string_view name, std::string_view value, int32_t length,
                   std::string& error);

  ByteSource& source_;
  std::vector<char> block_;  // bytes [pos_, end_) are unread; scan_slack spare bytes at the end
  size_t pos_ = 0;
  size_t end_ = 0;
  bool at_end_ = false;       // the source has nothing more
  std::string scratch_name_;  // a value that spans blocks is gathered here
  std::string scratch_value_;
};

// Reads to the end of the input, or to a read failure, handing every record that <EOH> or
// <EOR> closes to on_record(record, status) and clearing it afterwards. Returns the last
// status: end_of_file, or error with `error` set.
template <typename OnRecord>
ReaderStatus read_all_records(AdifReader& reader, QsoRecord& record, std::string& error,
                              OnRecord&& on_record) {
  for (;;) {
    const ReaderStatus status = reader.parse_ADIF(record, error);
    if (status == ReaderStatus::end_of_file || status == ReaderStatus::error) return status;
    if (status == ReaderStatus::line) continue;
    on_record(record, status);
    record.clear();
  }
}

}  // namespace tarvenix
