// The field table and the required-field walk before a conversion.
#include <doctest/doctest.h>

#include <cstring>
#include <string>

#include "ui/field_table.h"
#include "ui/win32/resource.h"

using namespace tarvenix;

namespace {

// clang-format off
const char* const label_texts[] = {"Callsign", "Name", "Street/Box", "City/Town", "State/Province",
                                   "Postal Code", "Country", "CQ Zone", "Email Address", "Club",
                                   "Antenna Description", "Entry", "Band", "Mode", "ADIF Log",
                                   "Scoresheet", "Output"};
// clang-format on

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
  // The ids themselves are the resource header's; what the walk below does not see is here.
  Window w;
  CHECK(w.table[slot_cq_zone].buffer == w.record.cq_zone);
  CHECK(w.table[slot_cq_zone].max_length == 4);
  CHECK(w.table[slot_country].buffer == nullptr);
  CHECK(w.table[slot_output].label == "Output");
  for (size_t slot = 0; slot < field_count; ++slot)
    CHECK(slot_of_control(w.table[slot].control_id) == slot);
  CHECK_FALSE(slot_of_control(1004).has_value());
}

TEST_CASE(
    "the required-field walk: call sign first, the address for the USA only, the antenna "
    "from the LIMITED entry on, never the file rows") {
  const char* const usa = "United States of America";
  const struct {
    const char *callsign, *country, *state;
    uint16_t country_index;
    uint8_t entry;
    const char* antenna;
    const char* missing;
  } cases[] = {
      {"", usa, "", 0, 3, "", "Callsign is required!"},
      {"W1AW", usa, "", 1, 0, "", "State/Province is required!"},
      {"W1AW", usa, "CT", 1, 0, "", "Postal Code is required!"},
      {"W1AW", "Canada", "", 1, 0, "", nullptr},
      {"W1AW", "", "", 0, 1, "", nullptr},
      {"W1AW", "", "", 0, 2, "", "Antenna Description is required!"},
      {"W1AW", "", "", 0, 2, "Dipole", nullptr},
  };
  for (const auto& c : cases) {
    CAPTURE(&c - cases);  // the row
    Window w;
    std::strcpy(w.record.callsign, c.callsign);
    std::strcpy(w.record.country, c.country);
    std::strcpy(w.record.state_province, c.state);
    w.record.country_index = c.country_index;
    w.record.entry_index = c.entry;
    std::strcpy(w.record.antenna_description, c.antenna);
    CHECK(w.table[slot_adif].required);
    CHECK(w.required() == (c.missing ? std::optional<std::string>(c.missing) : std::nullopt));
  }
}
