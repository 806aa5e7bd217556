// The 17 entry fields of the main window: each control's id, its label, the field of
// OperatorConfig it edits and whether it must be filled before a conversion. The window
// keeps the control handles beside this table, slot for slot.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "ui/operator_config.h"

namespace tarvenix {

struct FieldDescriptor {
  int control_id = 0;       // the entry control
  int label_id = 0;         // its label: a static, or the button of a file row
  int label_string_id = 0;  // string resource of the label text
  std::string label;        // at most label_limit characters
  char* buffer = nullptr;   // the field in OperatorConfig; none for lists and file rows
  int max_length = 0;       // size of that field, NUL included; 0 without a buffer
  bool required = false;    // must be filled before a conversion
};

inline constexpr size_t field_count = 17;
inline constexpr size_t label_limit = 31;
using FieldTable = std::array<FieldDescriptor, field_count>;

// Slots of the table.
enum FieldSlot : size_t {
  slot_callsign = 0,
  slot_name = 1,
  slot_street_box = 2,
  slot_city_town = 3,
  slot_state_province = 4,
  slot_postal_code = 5,
  slot_country = 6,
  slot_cq_zone = 7,
  slot_email_address = 8,
  slot_club = 9,
  slot_antenna = 10,
  slot_entry = 11,
  slot_band = 12,
  slot_mode = 13,
  slot_adif = 14,
  slot_scoresheet = 15,
  slot_output = 16,
};

// Loads a label text by its string id (the string table on Windows).
using LabelLoader = std::function<std::string(int string_id)>;

// Fills every slot, the buffers pointing into `record` (which must outlive the table).
void build_field_table(FieldTable& table, OperatorConfig& record, const LabelLoader& labels);

// The slot of an entry control, or nothing.
std::optional<size_t> slot_of_control(int control_id);

// Walks Callsign to Entry in table order; the first required field left empty (a list at
// its first row) gives "%s is required!" with its label.
std::optional<std::string> check_required(const FieldTable& table, const OperatorConfig& record);

// Sets `required` of State/Province, Postal Code (by country) and Antenna Description (by
// entry category) from the record.
void apply_required_rules(FieldTable& table, const OperatorConfig& record);

}  // namespace tarvenix
