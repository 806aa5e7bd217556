// The ADIF reader: tag syntax, markers, values that span lines, and the block buffer.
#include "adif/reader.h"

#include <cstring>
#include <limits>

#include "adif/byte_scan.h"
#include "records/format_text.h"
#include "records/text_compare.h"

namespace tarvenix {

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

// The declared length after a tag's ':'. Nearly every length is a few plain digits, read
// here directly; blanks, signs and long numbers take the general rules.
int32_t declared_length(const char* begin, const char* end) {
  int32_t value = 0;
  const char* p = begin;
  for (; p < end && p - begin < 9 && *p >= '0' && *p <= '9'; ++p) value = value * 10 + (*p - '0');
  if (p != begin && (p == end || *p < '0' || *p > '9')) return value;
  return parse_declared_length(begin, end);
}

enum class TagEnd { closed, line_end, input_end };

struct Tag {
  TagEnd end = TagEnd::input_end;
  const char* close = nullptr;  // its '>', or the line feed that leaves it open
  size_t name_size = 0;
  int32_t length = -1;  // -1 without a length: a marker
};

// The tag whose '<' is at `tag`, as far as [tag, end) holds it: its name runs to ':' or
// '>', a length on to '>'; both must close on the tag's line.
Tag scan_tag(const char* tag, const char* end) {
  Tag t;
  const char* const name = tag + 1;
  const char* stop = find_first_of<':', '>', '\n'>(name, end);
  if (stop == end) return t;
  t.name_size = static_cast<size_t>(stop - name);
  if (*stop == ':') {
    const char* const digits = stop + 1;
    stop = find_first_of<'>', '\n'>(digits, end);
    if (stop == end) return t;
    if (*stop == '>') t.length = declared_length(digits, stop);
  }
  t.close = stop;
  t.end = *stop == '>' ? TagEnd::closed : TagEnd::line_end;
  return t;
}

}  // namespace

int32_t parse_declared_length(const char* begin, const char* end) {
  const char* p = begin;
  while (p < end && is_blank(*p)) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  const char* digits = p;
  int64_t value = 0;
  constexpr int64_t limit = std::numeric_limits<int64_t>::max() / 10 - 1;
  for (; p < end && *p >= '0' && *p <= '9'; ++p) {
    if (value < limit) value = value * 10 + (*p - '0');  // saturates well above 32 bits
  }
  if (p == digits) return 0;
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

AdifReader::AdifReader(ByteSource& source, size_t block_size)
    : source_(source), block_((block_size < 16 ? 16 : block_size) + scan_slack) {}

size_t AdifReader::capacity() const {
  return block_.size() - scan_slack;
}

// Keeps the unread bytes from `keep_from` on, moved to the front, and reads more behind
// them; the block doubles only when a single tag fills it. False when nothing more came.
bool AdifReader::refill(size_t keep_from) {
  if (at_end_) return false;
  const size_t kept = end_ - keep_from;
  if (keep_from != 0 && kept != 0) std::memmove(block_.data(), block_.data() + keep_from, kept);
  pos_ -= keep_from;
  end_ = kept;
  if (end_ == capacity()) block_.resize(capacity() * 2 + scan_slack);
  const size_t got = source_.read(block_.data() + end_, capacity() - end_);
  if (got == 0) {
    at_end_ = true;
    return false;
  }
  end_ += got;
  return true;
}

ReaderStatus AdifReader::read_failure(std::string& error) const {
  error = "Read error: " + source_.error();
  return ReaderStatus::error;
}

namespace {

// The most of a field name a message quotes: names are not bounded, messages are.
constexpr size_t quoted_name_limit = 63;

// "The field NAME" or "The record with the field NAME", followed by the limit it outgrew.
std::string too_large(std::string_view what, std::string_view name, size_t limit) {
  return std::string(what) + std::string(name.substr(0, quoted_name_limit)) + " holds more than " +
         mebibytes_text(limit);
}

}  // namespace

// Adds the field unless the record would outgrow its limit.
bool AdifReader::add_bounded(QsoRecord& record, std::string_view name, std::string_view value,
                             int32_t length, std::string& error) {
  if (record.footprint() + name.size() + value.size() + sizeof(AdifField) > max_record_size) {
    error = too_large("The record with the field ", name, max_record_size);
    return false;
  }
  record.add_field(name, value, length);
  return true;
}

ReaderStatus AdifReader::read_spanning_value(QsoRecord& record, size_t name_begin, size_t name_end,
                                             int32_t length, std::string& error) {
  scratch_name_.assign(block_.data() + name_begin, name_end - name_begin);
  scratch_value_.clear();
  size_t missing = static_cast<size_t>(length);
  for (;;) {
    const size_t take = missing < end_ - pos_ ? missing : end_ - pos_;
    // Checked as the bytes arrive: a huge length at the end of a short file is no error.
    if (scratch_value_.size() + take > max_value_size) {
      error = too_large("The field ", scratch_name_, max_value_size);
      return ReaderStatus::error;
    }
    scratch_value_.append(block_.data() + pos_, take);
    pos_ += take;
    missing -= take;
    if (missing == 0) break;
    if (!refill(pos_)) {
      if (!source_.error().empty()) return read_failure(error);
      return ReaderStatus::end_of_file;
    }
  }
  if (!add_bounded(record, scratch_name_, scratch_value_, length, error)) {
    return ReaderStatus::error;
  }
  // The rest of the line the value ended on is scanned by the next call.
  return ReaderStatus::line;
}

ReaderStatus AdifReader::parse_ADIF(QsoRecord& record, std::string& error) {
  if (pos_ == end_ && !refill(pos_)) {
    return source_.error().empty() ? ReaderStatus::end_of_file : read_failure(error);
  }
  for (;;) {
    // Between tags: everything up to the next '<' is ignored; a line feed ends the call.
    const char* const base = block_.data();
    const char* const end = base + end_;
    const char* const p = find_first_of<'<', '\n'>(base + pos_, end);
    pos_ = p - base;
    if (p == end) {
      if (refill(pos_)) continue;
      return source_.error().empty() ? ReaderStatus::line : read_failure(error);
    }
    if (*p == '\n') {
      pos_ += 1;
      return ReaderStatus::line;
    }

    const Tag tag = scan_tag(p, end);
    if (tag.end == TagEnd::input_end) {  // read on, keeping the tag, and read it again
      if (end_ - pos_ > max_tag_size) {
        error = "A tag runs on for more than " + mebibytes_text(max_tag_size);
        return ReaderStatus::error;
      }
      if (refill(pos_)) continue;
      if (!source_.error().empty()) return read_failure(error);
      pos_ = end_;  // the input ends inside the tag: it is ignored
      return ReaderStatus::line;
    }
    pos_ = tag.close - base + 1;
    if (tag.end == TagEnd::line_end) return ReaderStatus::line;  // the rest of the line is ignored
    const char* const name = p + 1;
    if (tag.length < 0) {  // a marker
      const std::string_view marker(name, tag.name_size);
      if (equal_ignoring_case(marker, "EOH")) return ReaderStatus::end_of_header;
      if (equal_ignoring_case(marker, "EOR")) return ReaderStatus::end_of_record;
      continue;
    }
    const size_t n = static_cast<size_t>(tag.length);
    if (end_ - pos_ < n) {
      return read_spanning_value(record, p + 1 - base, p + 1 + tag.name_size - base, tag.length,
                                 error);
    }
    const std::string_view value(base + pos_, n);
    pos_ += n;
    if (n > max_value_size) {
      error = too_large("The field ", {name, tag.name_size}, max_value_size);
      return ReaderStatus::error;
    }
    if (!add_bounded(record, {name, tag.name_size}, value, tag.length, error)) {
      return ReaderStatus::error;
    }
    if (find_first_of<'\n'>(value.data(), value.data() + n) != value.data() + n) {
      return ReaderStatus::line;
    }
  }
}

}  // namespace tarvenix
