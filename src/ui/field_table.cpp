// The field table: which control edits which field, and the required-field walk.
#include "ui/field_table.h"

#include "records/format_text.h"
#include "ui/control_ids.h"
#include "ui/entry_checks.h"

namespace tarvenix {
namespace {

struct SlotIds {
  int control_id;
  int label_id;
  bool required;  // at start; the country and entry rules change three of them
};

constexpr SlotIds slot_ids[field_count] = {
    {IDC_CALLSIGN, IDC_CALLSIGN_LABEL, true},
    {IDC_NAME, IDC_NAME_LABEL, false},
    {IDC_STREET_BOX, IDC_STREET_BOX_LABEL, false},
    {IDC_CITY_TOWN, IDC_CITY_TOWN_LABEL, false},
    {IDC_STATE_PROVINCE, IDC_STATE_PROVINCE_LABEL, false},
    {IDC_POSTAL_CODE, IDC_POSTAL_CODE_LABEL, false},
    {IDC_COUNTRY, IDC_COUNTRY_LABEL, false},
    {IDC_CQ_ZONE, IDC_CQ_ZONE_LABEL, false},
    {IDC_EMAIL_ADDRESS, IDC_EMAIL_ADDRESS_LABEL, false},
    {IDC_CLUB, IDC_CLUB_LABEL, false},
    {IDC_ANTENNA, IDC_ANTENNA_LABEL, false},
    {IDC_ENTRY, IDC_ENTRY_LABEL, false},
    {IDC_BAND, IDC_BAND_LABEL, false},
    {IDC_MODE, IDC_MODE_LABEL, false},
    {IDC_ADIF_FILE, IDC_ADIF_BUTTON, true},
    {IDC_SCORESHEET_FILE, IDC_SCORESHEET_BUTTON, true},
    {IDC_OUTPUT_FILE, IDC_OUTPUT_BUTTON, true},
};

template <size_t N>
void bind(FieldDescriptor& d, char (&field)[N]) {
  d.buffer = field;
  d.max_length = static_cast<int>(N);
}

// The record field a slot edits; lists and file rows have none.
void bind_buffer(FieldDescriptor& d, size_t slot, OperatorConfig& r) {
  switch (slot) {
    case slot_callsign:
      return bind(d, r.callsign);
    case slot_name:
      return bind(d, r.name);
    case slot_street_box:
      return bind(d, r.street_box);
    case slot_city_town:
      return bind(d, r.city_town);
    case slot_state_province:
      return bind(d, r.state_province);
    case slot_postal_code:
      return bind(d, r.postal_code);
    case slot_cq_zone:
      return bind(d, r.cq_zone);
    case slot_email_address:
      return bind(d, r.email_address);
    case slot_club:
      return bind(d, r.club);
    case slot_antenna:
      return bind(d, r.antenna_description);
    default:
      d.buffer = nullptr;
      d.max_length = 0;
  }
}

// Lists count as filled at any row but the first.
bool slot_filled(const FieldDescriptor& d, size_t slot, const OperatorConfig& record) {
  if (slot == slot_country) return record.country_index != 0;
  if (slot == slot_entry) return record.entry_index != 0;
  return d.buffer != nullptr && d.buffer[0] != '\0';
}

}  // namespace

void build_field_table(FieldTable& table, OperatorConfig& record, const LabelLoader& labels) {
  for (size_t slot = 0; slot < field_count; ++slot) {
    FieldDescriptor& d = table[slot];
    d.control_id = slot_ids[slot].control_id;
    d.label_id = slot_ids[slot].label_id;
    d.label_string_id = IDS_LABEL_FIRST + static_cast<int>(slot);
    d.label = labels(d.label_string_id).substr(0, label_limit);
    d.required = slot_ids[slot].required;
    bind_buffer(d, slot, record);
  }
}

std::optional<size_t> slot_of_control(int control_id) {
  for (size_t slot = 0; slot < field_count; ++slot)
    if (slot_ids[slot].control_id == control_id) return slot;
  return std::nullopt;
}

std::optional<std::string> check_required(const FieldTable& table, const OperatorConfig& record) {
  for (size_t slot = slot_callsign; slot <= slot_entry; ++slot) {
    const FieldDescriptor& d = table[slot];
    if (slot == slot_antenna && !entry_requires_antenna(record.entry_index)) continue;
    if (slot_filled(d, slot, record) || !d.required) continue;
    return format_text("%s is required!", d.label.c_str());
  }
  return std::nullopt;
}

void apply_required_rules(FieldTable& table, const OperatorConfig& record) {
  const bool address = country_requires_address(record);
  table[slot_state_province].required = address;
  table[slot_postal_code].required = address;
  table[slot_antenna].required = entry_requires_antenna(record.entry_index);
}

}  // namespace tarvenix
