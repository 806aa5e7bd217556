// Field-by-field serialization of OperatorConfig. One walk over the fields serves both
// directions, so the order of fields is written down once.
#include "ui/config_file.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace tarvenix {
namespace {

// Walks the record's stored fields in file order; `io` moves the bytes.
template <class Record, class Io>
void visit_fields(Record& r, Io& io) {
  io.u16(r.format_version);
  io.u16(r.padding0);
  io.bytes(r.version_text);
  io.bytes(r.callsign);
  io.bytes(r.name);
  io.bytes(r.street_box);
  io.bytes(r.city_town);
  io.bytes(r.state_province);
  io.bytes(r.postal_code);
  io.bytes(r.country);
  io.bytes(r.cq_zone);
  io.bytes(r.email_address);
  io.bytes(r.club);
  io.bytes(r.antenna_description);
  io.u16(r.country_index);
  io.u8(r.entry_index);
  io.u8(r.band_index);
  io.u8(r.mode_index);
  io.u8(r.country_file_off);
  io.bytes(r.padding1);
  io.skip(4);  // the message slot: a pointer in memory, never stored
  io.u32(r.countries_written);
  io.u32(r.zones_written);
  io.u8(r.changed);
  io.u8(r.confirmed);
  io.u8(r.loaded);
  io.u8(r.converted);
}

class Writer {
 public:
  explicit Writer(ConfigBytes& out) : out_(out) {}
  void u8(uint8_t v) { out_[at_++] = v; }
  void u16(uint16_t v) {
    u8(static_cast<uint8_t>(v));
    u8(static_cast<uint8_t>(v >> 8));
  }
  void u32(int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    u16(static_cast<uint16_t>(u));
    u16(static_cast<uint16_t>(u >> 16));
  }
  template <size_t N, class T>
  void bytes(const T (&field)[N]) {
    std::memcpy(out_.data() + at_, field, N);
    at_ += N;
  }
  void skip(size_t n) {
    for (size_t i = 0; i < n; ++i) u8(0);
  }

 private:
  ConfigBytes& out_;
  size_t at_ = 0;
};

class Reader {
 public:
  explicit Reader(const ConfigBytes& in) : in_(in) {}
  void u8(uint8_t& v) { v = in_[at_++]; }
  void u16(uint16_t& v) {
    v = static_cast<uint16_t>(in_[at_] | in_[at_ + 1] << 8);
    at_ += 2;
  }
  void u32(int32_t& v) {
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = u << 8 | in_[at_ + i];
    v = static_cast<int32_t>(u);
    at_ += 4;
  }
  template <size_t N, class T>
  void bytes(T (&field)[N]) {
    std::memcpy(field, in_.data() + at_, N);
    at_ += N;
  }
  void skip(size_t n) { at_ += n; }

 private:
  const ConfigBytes& in_;
  size_t at_ = 0;
};

// Every text field ends with a NUL inside its width.
class TextCutter {
 public:
  void u8(uint8_t&) {}
  void u16(uint16_t&) {}
  void u32(int32_t&) {}
  template <size_t N>
  void bytes(char (&field)[N]) {
    field[N - 1] = '\0';
  }
  template <size_t N>
  void bytes(uint8_t (&)[N]) {}  // padding
  void skip(size_t) {}
};

template <class T>
void zero_when_outside(T& index, size_t rows) {
  if (index >= rows) index = 0;
}

}  // namespace

ConfigBytes serialize_config(const OperatorConfig& record) {
  ConfigBytes out{};
  Writer writer(out);
  visit_fields(record, writer);
  return out;
}

OperatorConfig deserialize_config(const ConfigBytes& bytes) {
  OperatorConfig record;
  Reader reader(bytes);
  visit_fields(record, reader);
  return record;
}

void sanitize_config(OperatorConfig& record, const ConfigListSizes& lists) {
  TextCutter cutter;
  visit_fields(record, cutter);
  zero_when_outside(record.country_index, lists.country);
  zero_when_outside(record.entry_index, lists.entry);
  zero_when_outside(record.band_index, lists.band);
  zero_when_outside(record.mode_index, lists.mode);
}

std::string stored_callsign(std::span<const uint8_t> bytes) {
  constexpr size_t width = sizeof(OperatorConfig::callsign);
  if (bytes.size() <= config_callsign_offset) return {};
  const auto field =
      bytes.subspan(config_callsign_offset, std::min(width, bytes.size() - config_callsign_offset));
  std::string text;
  for (uint8_t c : field) {
    if (c == 0) return text;
    text.push_back(static_cast<char>(c));
  }
  return {};  // no NUL inside the field (or inside the file)
}

}  // namespace tarvenix
