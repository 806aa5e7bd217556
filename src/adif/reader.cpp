// The ADIF reader: tag syntax, markers, values that span lines, and the block buffer.
#include "adif/reader.h"

#include <cstring>
#include <limits>

namespace tarvenix {

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

bool names_equal_ignoring_case(const char* name, size_t size, const char* upper) {
  if (size != std::strlen(upper)) return false;
  for (size_t i = 0; i < size; ++i) {
    char c = name[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upper[i]) return false;
  }
  return true;
}

}  // namespace

int32_t parse_declared_length(const char* begin, const char* end, const char** stop) {
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
  if (stop != nullptr) *stop = p;
  if (p == digits) return 0;
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

AdifReader::AdifReader(ByteSource& source, size_t block_size)
    : source_(source), block_(block_size < 16 ? 16 : block_size) {}

// Keeps the unread bytes from `keep_from` on, moved to the front, and reads more behind
// them; the block doubles only when a single tag fills it. False when nothing more came.
bool AdifReader::refill(size_t keep_from) {
  if (at_end_) return false;
  const size_t kept = end_ - keep_from;
  if (keep_from != 0 && kept != 0) std::memmove(block_.data(), block_.data() + keep_from, kept);
  pos_ -= keep_from;
  end_ = kept;
  if (end_ == block_.size()) block_.resize(block_.size() * 2);
  const size_t got = source_.read(block_.data() + end_, block_.size() - end_);
  if (got == 0) {
    at_end_ = true;
    return false;
  }
  end_ += got;
  return true;
}

ReaderStatus AdifReader::read_failure(std::string& error) const {
  error = "ERROR: Read error: " + source_.error();
  return ReaderStatus::error;
}

ReaderStatus AdifReader::skip_rest_of_line() {
  for (;;) {
    const void* lf = std::memchr(block_.data() + pos_, '\n', end_ - pos_);
    if (lf != nullptr) {
      pos_ = static_cast<const char*>(lf) - block_.data() + 1;
      return ReaderStatus::line;
    }
    pos_ = end_;
    if (!refill(pos_)) return ReaderStatus::line;
  }
}

ReaderStatus AdifReader::read_spanning_value(QsoRecord& record, size_t name_begin, size_t name_end,
                                             int32_t length, std::string& error) {
  scratch_name_.assign(block_.data() + name_begin, name_end - name_begin);
  scratch_value_.clear();
  size_t missing = static_cast<size_t>(length);
  for (;;) {
    const size_t take = missing < end_ - pos_ ? missing : end_ - pos_;
    scratch_value_.append(block_.data() + pos_, take);
    pos_ += take;
    missing -= take;
    if (missing == 0) break;
    if (!refill(pos_)) {
      if (!source_.error().empty()) return read_failure(error);
      return ReaderStatus::end_of_file;
    }
  }
  record.add_field(scratch_name_, scratch_value_, length);
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
    const char* p = base + pos_;
    const char* const end = base + end_;
    while (p < end && *p != '<') {
      if (*p++ == '\n') {
        pos_ = p - base;
        return ReaderStatus::line;
      }
    }
    pos_ = p - base;
    if (p == end) {
      if (refill(pos_)) continue;
      return source_.error().empty() ? ReaderStatus::line : read_failure(error);
    }

    // A tag: its name runs to ':' or '>', a length on to '>'; both must close on this line.
    size_t tag = pos_;
    size_t close = tag + 1;
    for (;;) {
      const char* q = block_.data() + close;
      const char* const stop = block_.data() + end_;
      while (q < stop && *q != '>' && *q != '\n') ++q;
      close = q - block_.data();
      if (q < stop) break;
      const size_t offset = close - tag;
      if (!refill(tag)) {
        if (!source_.error().empty()) return read_failure(error);
        pos_ = end_;  // the input ends inside the tag: it is ignored
        return ReaderStatus::line;
      }
      tag = 0;
      close = offset;
    }
    if (block_[close] == '\n') {
      pos_ = close + 1;  // not closed on its line: the rest of the line is ignored
      return ReaderStatus::line;
    }
    const void* colon = std::memchr(block_.data() + tag + 1, ':', close - tag - 1);
    const size_t name_end =
        colon != nullptr ? static_cast<const char*>(colon) - block_.data() : close;

    const char* name = block_.data() + tag + 1;
    const size_t name_size = name_end - tag - 1;
    int32_t length = -1;
    if (name_end < close) {
      length = parse_declared_length(block_.data() + name_end + 1, block_.data() + close, nullptr);
    }
    pos_ = close + 1;

    if (length < 0) {  // a marker
      if (names_equal_ignoring_case(name, name_size, "EOH")) return ReaderStatus::end_of_header;
      if (names_equal_ignoring_case(name, name_size, "EOR")) return ReaderStatus::end_of_record;
      continue;
    }
    const size_t n = static_cast<size_t>(length);
    if (end_ - pos_ < n) return read_spanning_value(record, tag + 1, name_end, length, error);
    const std::string_view value(block_.data() + pos_, n);
    pos_ += n;
    record.add_field({name, name_size}, value, length);
    if (std::memchr(value.data(), '\n', n) != nullptr) return ReaderStatus::line;
  }
}

}  // namespace tarvenix
