// The edit-time checks of the main window.
#include "ui/win32/field_checks.h"

#include <cstring>

#include "records/format_text.h"
#include "ui/entry_checks.h"
#include "ui/win32/controls.h"
#include "ui/win32/message_box.h"

namespace tarvenix {
namespace {

void show_too_long(const std::string& label, HWND owner) {
  show_message(owner, format_text("The %s is too long.", label.c_str()), MB_ICONHAND);
}

}  // namespace

void check_field(App& app, size_t slot) {
  const FieldDescriptor& d = app.fields[slot];
  const HWND control = app.field_control(slot);
  GetWindowTextA(control, d.buffer, d.max_length);
  if (slot == slot_cq_zone) {
    if (const auto problem = check_cq_zone(d.buffer)) show_message(control, *problem, MB_ICONHAND);
    app.record.changed = 1;  // kept as typed, and saved like every other field
    return;
  }
  if (GetWindowTextLengthA(control) >= d.max_length) {
    show_too_long(d.label, control);
    SetWindowTextA(control, d.buffer);
    return;
  }
  app.record.changed = 1;
}

void check_callsign_length(App& app) {
  const HWND box = app.field_control(slot_callsign);
  if (GetWindowTextLengthA(box) >= static_cast<int>(sizeof app.record.callsign)) {
    show_message(app.main_window, "Callsign is too long!", MB_ICONHAND);
    SetWindowTextA(box, app.record.callsign);
    return;
  }
  GetWindowTextA(box, app.record.callsign, sizeof app.record.callsign);
  app.record.changed = 1;
}

void check_country_length(App& app) {
  const HWND list = app.field_control(slot_country);
  const LRESULT row = SendMessageA(list, CB_GETCURSEL, 0, 0);
  app.record.country_index = row == CB_ERR ? 0 : static_cast<uint16_t>(row);
  const std::string text = combo_row_text(list, row);
  if (text.size() >= sizeof app.record.country) {
    show_too_long(app.fields[slot_country].label, list);
  } else {
    std::memset(app.record.country, 0, sizeof app.record.country);
    text.copy(app.record.country, text.size());
  }
  apply_country_rules(app);
  app.record.changed = 1;
}

void apply_country_rules(App& app) {
  apply_required_rules(app.fields, app.record);
  set_label_font(app, slot_state_province, app.fields[slot_state_province].required);
  set_label_font(app, slot_postal_code, app.fields[slot_postal_code].required);
  apply_entry_rules(app);
}

void apply_entry_rules(App& app) {
  apply_required_rules(app.fields, app.record);
  set_label_font(app, slot_antenna, app.fields[slot_antenna].required);
}

}  // namespace tarvenix
