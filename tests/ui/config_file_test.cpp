// The stored record: every field at its byte offset, little-endian, the message never
// stored, and loaded records made safe.
#include <doctest/doctest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "ui/config_file.h"

using namespace tarvenix;

namespace {

// clang-format off
OperatorConfig full_record() {
  return {.format_version = 3, .padding0 = 0xBEEF, .version_text = "1.7", .callsign = "VP2E/W1AW",
          .name = "Ann Operator", .street_box = "Box 12", .city_town = "Newington",
          .state_province = "CT", .postal_code = "06111", .country = "United States of America",
          .cq_zone = "5", .email_address = "ann@example.org", .club = "YCCC",
          .antenna_description = "Dipole\r\nat 10 m", .country_index = 0x1234, .entry_index = 2,
          .band_index = 13, .mode_index = 3, .country_file_off = 7, .padding1 = {0, 9},
          .message = "never stored", .countries_written = -2, .zones_written = 0x01020304,
          .changed = 1, .confirmed = 1, .loaded = 1, .converted = 1};
}
// clang-format on

}  // namespace

TEST_CASE("every field is stored at its byte offset, little-endian; its message is never read") {
  ConfigBytes b = serialize_config(full_record());
  CHECK(b.size() == 1040);
  const struct {
    size_t offset;
    const char* text;
  } texts[] = {{4, "1.7"},           {20, "VP2E/W1AW"},
               {36, "Ann Operator"}, {100, "Box 12"},
               {164, "Newington"},   {228, "CT"},
               {292, "06111"},       {308, "United States of America"},
               {372, "5"},           {376, "ann@example.org"},
               {440, "YCCC"},        {504, "Dipole\r\nat 10 m"}};
  for (const auto& t : texts)
    CHECK(reinterpret_cast<const char*>(&b[t.offset]) == std::string(t.text));
  // format, padding, the indices, the message slot, the counts and the flags
  const size_t numbers[][2] = {
      {0, 3},     {1, 0},    {2, 0xEF},    {3, 0xBE},    {1016, 0x34}, {1017, 0x12}, {1018, 2},
      {1019, 13}, {1020, 3}, {1021, 7},    {1022, 0},    {1023, 9},    {1024, 0},    {1025, 0},
      {1026, 0},  {1027, 0}, {1028, 0xFE}, {1029, 0xFF}, {1030, 0xFF}, {1031, 0xFF}, {1032, 4},
      {1035, 1},  {1036, 1}, {1037, 1},    {1038, 1},    {1039, 1}};
  for (const auto& n : numbers) {
    CAPTURE(n[0]);
    CHECK(b[n[0]] == n[1]);
  }
  const OperatorConfig original = full_record();
  for (size_t i = 1024; i < 1028; ++i) b[i] = 0xAA;
  const OperatorConfig back = deserialize_config(b);
  CHECK(back.message.empty());
  CHECK(serialize_config(back) == serialize_config(original));
}

TEST_CASE("bytes after a text's NUL are kept as they stand") {
  const OperatorConfig r{.name = "Bo\0old"};
  CHECK(std::memcmp(serialize_config(r).data() + 36, "Bo\0old", 6) == 0);
}

TEST_CASE(
    "sanitizing ends every text inside its field and drops indices outside their lists only") {
  ConfigBytes b{};
  for (size_t i = 4; i < 1016; ++i) b[i] = 'X';  // no NUL in any text field
  b[1016] = 200;
  b[1018] = 5;
  b[1019] = 14;
  b[1020] = 4;
  OperatorConfig r = deserialize_config(b);
  sanitize_config(r, ConfigListSizes{.country = 200});
  CHECK(std::strlen(r.version_text) == 15);
  CHECK(std::strlen(r.callsign) == 15);
  CHECK(std::strlen(r.cq_zone) == 3);
  CHECK(std::strlen(r.antenna_description) == 511);
  CHECK(std::tuple(r.country_index, r.entry_index, r.band_index, r.mode_index) ==
        std::tuple(0, 0, 0, 0));
  r.country_index = 199;  // the last of each list is kept
  r.entry_index = 4;
  r.band_index = 13;
  r.mode_index = 3;
  const OperatorConfig kept = r;
  sanitize_config(r, ConfigListSizes{.country = 200});
  CHECK(serialize_config(r) == serialize_config(kept));
}

TEST_CASE("the stored call sign is read only when it ends inside the file and its field") {
  const ConfigBytes b = serialize_config(full_record());
  CHECK(stored_callsign(b) == "VP2E/W1AW");
  CHECK(stored_callsign(std::span(b).first(30)) == "VP2E/W1AW");
  CHECK(stored_callsign(std::span(b).first(29)).empty());  // the NUL is cut off
  CHECK(stored_callsign(std::span(b).first(10)).empty());
  ConfigBytes unterminated = b;
  std::memset(unterminated.data() + 20, 'K', 16);
  CHECK(stored_callsign(unterminated).empty());
}
