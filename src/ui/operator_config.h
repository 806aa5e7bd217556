// The operator's record: station details and list selections, kept per call sign in a
// 1040-byte file (see config_file.h for the byte layout). The window edits it and builds a
// conversion's request from its call sign and its Band, Mode, Confirmed and country-file
// selections; `message` holds a text for the operator about loading or saving it.
#pragma once

#include <cstdint>
#include <string>

namespace tarvenix {

struct OperatorConfig {
  uint16_t format_version = 0;  // 3 in every record this program makes
  uint16_t padding0 = 0;        // stored as it stands
  char version_text[16] = {};   // "%d.%d" of the program file's version
  char callsign[16] = {};       // at most 15 characters, upper case
  char name[64] = {};
  char street_box[64] = {};
  char city_town[64] = {};
  char state_province[64] = {};
  char postal_code[16] = {};
  char country[64] = {};  // text of the Country list entry
  char cq_zone[4] = {};   // as typed, at most 3 characters
  char email_address[64] = {};
  char club[64] = {};
  char antenna_description[512] = {};  // free text, may hold line breaks
  uint16_t country_index = 0;          // Country list selection
  uint8_t entry_index = 0;             // Entry list (0 to 4)
  uint8_t band_index = 0;              // Band list (0 to 13)
  uint8_t mode_index = 0;              // Mode list (0 to 3)
  uint8_t country_file_off = 0;        // 0: the country file fills in missing DXCC and CQZ
  uint8_t padding1[2] = {};            // stored as it stands
  std::string message;                 // text for the operator; never stored
  int32_t countries_written = 0;       // by the last conversion that filled a Scoresheet
  int32_t zones_written = 0;
  uint8_t changed = 0;    // edited since loaded or reset
  uint8_t confirmed = 0;  // the Confirmed check box
  uint8_t loaded = 0;     // set when loaded from a file
  uint8_t converted = 0;  // a conversion succeeded since the output was chosen
};

}  // namespace tarvenix
