// The field table and the required-field walk before a conversion.
#include <doctest/doctest.h>

#include <cstring>
#include <string>

#include "ui/field_table.h"
#include "ui/win32/resource.h"

using namespace tarvenix;

namespace {

const char* const label_texts[] = {"Callsign",
                                   "Name",
                                   "Street/Box",
                                   "City/Town",
                                   "State/Province",
                                   "Postal Code",
                                   "Country",
                                   "CQ Zone",
                                   "Email Address",
                                   "Club",
                                   "Antenna Description",
                                   "Entry",
                                   "Band",
                                   "Mode",
                                   "ADIF Log",
                                   "Scoresheet",
                                   "Output"};

struct Window {
  OperatorConfig record;
  FieldTable table;
  Window() {
    build_field_table(table, record,
                      [](int id) { return std::string(label_texts[id - IDS_LABEL_FIRST]); });
  }
  std::optional<std::string> required() {
    apply_required_rules(table, record);
    return check_required(table, record);
  }
};

}  // namespace

TEST_CASE("the table ties each control to its field, size and label") {
  Window w;
  CHECK(w.table[slot_callsign].control_id == 1301);
  CHECK(w.table[slot_callsign].label_id == 1210);
  CHECK(w.table[slot_callsign].buffer == w.record.callsign);
  CHECK(w.table[slot_callsign].max_length == 16);
  CHECK(w.table[slot_callsign].required);
  CHECK(w.table[slot_postal_code].max_length == 16);
  CHECK(w.table[slot_cq_zone].buffer == w.record.cq_zone);
  CHECK(w.table[slot_cq_zone].max_length == 4);
  CHECK(w.table[slot_antenna].max_length == 512);
  CHECK(w.table[slot_country].buffer == nullptr);
  CHECK(w.table[slot_country].max_length == 0);
  CHECK(w.table[slot_output].control_id == 1114);
  CHECK(w.table[slot_output].label_id == 1003);
  CHECK(w.table[slot_output].required);
  CHECK(w.table[slot_mode].label_string_id == 1623);
  CHECK(w.table[slot_output].label == "Output");
  for (size_t slot = 0; slot < field_count; ++slot)
    CHECK(slot_of_control(w.table[slot].control_id) == slot);
  CHECK_FALSE(slot_of_control(1004).has_value());
}

TEST_CASE("an empty call sign is reported before anything else") {
  Window w;
  w.record.entry_index = 3;
  std::strcpy(w.record.country, "United States of America");
  CHECK(w.required() == "Callsign is required!");
}

TEST_CASE("State/Province is required for the United States of America only") {
  Window w;
  std::strcpy(w.record.callsign, "W1AW");
  w.record.country_index = 1;
  std::strcpy(w.record.country, "United States of America");
  CHECK(w.required() == "State/Province is required!");
  std::strcpy(w.record.state_province, "CT");
  CHECK(w.required() == "Postal Code is required!");
  std::strcpy(w.record.country, "Canada");
  std::memset(w.record.state_province, 0, sizeof w.record.state_province);
  CHECK_FALSE(w.required().has_value());
}

TEST_CASE("the antenna description is required from the LIMITED entry on") {
  Window w;
  std::strcpy(w.record.callsign, "W1AW");
  w.record.entry_index = 1;
  CHECK_FALSE(w.required().has_value());
  w.record.entry_index = 2;
  CHECK(w.required() == "Antenna Description is required!");
  std::strcpy(w.record.antenna_description, "Dipole");
  CHECK_FALSE(w.required().has_value());
}

TEST_CASE("the file rows are not part of the walk") {
  Window w;
  std::strcpy(w.record.callsign, "W1AW");
  CHECK(w.table[slot_adif].required);
  CHECK_FALSE(w.required().has_value());
}
