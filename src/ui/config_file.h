// The byte layout of an operator configuration file: one OperatorConfig record of 1040
// bytes, little-endian, no header, no checksum. The record is written and read field by
// field; the in-memory `message` is never stored (its four bytes are written as zero and
// ignored on reading).
//
//    0  2  format_version      372    4  cq_zone              1019 1  band_index
//    2  2  padding0            376   64  email_address        1020 1  mode_index
//    4 16  version_text        440   64  club                 1021 1  country_file_off
//   20 16  callsign            504  512  antenna_description  1022 2  padding1
//                                                             1024 4  (message, always 0)
//   36 64  name               1016    2  country_index        1028 4  countries_written
//  100 64  street_box         1018    1  entry_index          1032 4  zones_written
//  164 64  city_town                                          1036 1  changed
//  228 64  state_province                                     1037 1  confirmed
//  292 16  postal_code                                        1038 1  loaded
//  308 64  country                                            1039 1  converted
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "ui/operator_config.h"

namespace tarvenix {

inline constexpr size_t config_record_size = 1040;
inline constexpr uint16_t config_format_version = 3;
inline constexpr size_t config_callsign_offset = 20;
inline constexpr size_t config_message_offset = 1024;

using ConfigBytes = std::array<uint8_t, config_record_size>;

// The record as stored, every flag, counter and padding byte as it stands in memory.
ConfigBytes serialize_config(const OperatorConfig& record);

// The stored record; `message` stays empty. Text fields are taken as stored, so a field
// that fills its whole width has no NUL (see sanitize_config).
OperatorConfig deserialize_config(const ConfigBytes& bytes);

// The sizes of the lists the record's indices point into.
struct ConfigListSizes {
  size_t country = 1;  // "--" and the entity names
  size_t entry = 5;
  size_t band = 14;
  size_t mode = 4;
};

// Makes a loaded record safe to use: every text field ends inside its field, and an index
// outside its list becomes 0.
void sanitize_config(OperatorConfig& record, const ConfigListSizes& lists);

// The call sign stored at bytes 20 to 35 of a file that may be shorter than a record:
// empty unless it is 1 to 15 characters followed by a NUL, all inside `bytes`.
std::string stored_callsign(std::span<const uint8_t> bytes);

}  // namespace tarvenix
