// The command handlers and their routing table.
#include "ui/win32/commands.h"

#include <cstring>

#include "ui/entry_checks.h"
#include "ui/win32/controls.h"
#include "ui/win32/field_checks.h"
#include "ui/win32/message_box.h"
#include "ui/win32/resource.h"
#include "ui/win32/startup.h"
#include "ui/window_lists.h"

namespace tarvenix {
namespace {

using CommandHandler = void (*)(App&, int id, HWND control);

// A load leaves its text for the operator in the record.
void show_load_message(App& app) {
  if (app.record.message.empty()) return;
  show_message(app.main_window, app.record.message, MB_ICONEXCLAMATION);
  app.record.message.clear();
}

void save_if_changed(App& app) {
  if (!app.record.changed) return;
  if (const auto error = write_config(app.record, app.config_context()))
    show_message(app.main_window, *error, MB_ICONHAND);
}

void show_record(App& app) {
  fill_controls(app);
  apply_country_rules(app);
}

void clear_file_choice(App& app, std::string& path, size_t slot) {
  if (path.empty()) return;
  path.clear();
  SetWindowTextA(app.field_control(slot), "");
}

// A call sign typed into the box joins the list, unless the list holds exactly it.
void keep_typed_callsign(HWND box) {
  char typed[16] = {};
  GetWindowTextA(box, typed, sizeof typed);
  if (typed[0] != '\0' && SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(typed)) == CB_ERR)
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(typed));
}

void on_callsign_chosen(App& app, int, HWND box) {
  save_if_changed(app);
  const LRESULT chosen = SendMessageA(box, CB_GETCURSEL, 0, 0);
  const std::string text = combo_row_text(box, chosen);
  keep_typed_callsign(box);
  std::memset(app.record.callsign, 0, sizeof app.record.callsign);
  text.copy(app.record.callsign, sizeof app.record.callsign - 1);
  if (chosen <= 0) reset_config(app.record, app.config_context());
  read_config(app.record, app.config_context());
  show_load_message(app);
  show_record(app);
  clear_file_choice(app, app.paths.adif_path, slot_adif);
  clear_file_choice(app, app.paths.output_path, slot_output);
}

void on_callsign_edited(App& app, int, HWND) {
  check_callsign_length(app);
}
void on_country_chosen(App& app, int, HWND) {
  check_country_length(app);
}
void on_field_left(App& app, int id, HWND) {
  check_field(app, *slot_of_control(id));
}

uint8_t selection_of(HWND list) {
  const LRESULT row = SendMessageA(list, CB_GETCURSEL, 0, 0);
  return row == CB_ERR ? 0 : static_cast<uint8_t>(row);
}

void on_entry_chosen(App& app, int, HWND list) {
  app.record.entry_index = selection_of(list);
  apply_entry_rules(app);
  app.record.changed = 1;
}

void on_band_chosen(App& app, int, HWND list) {
  app.record.band_index = selection_of(list);
  app.record.changed = 1;
}

void on_mode_chosen(App& app, int, HWND list) {
  app.record.mode_index = selection_of(list);
  app.record.changed = 1;
}

void on_confirmed(App& app, int, HWND box) {
  const uint8_t checked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  if (checked != app.record.confirmed) app.record.changed = 1;
  app.record.confirmed = checked;
}

// The operator's entries, in order: required fields, call sign, e-mail address. The
// conversion itself follows them.
bool entries_ready(App& app) {
  if (const auto missing = check_required(app.fields, app.record)) {
    show_message(app.main_window, *missing, MB_ICONHAND);
    return false;
  }
  for (const auto& problem :
       {check_callsign(app.record.callsign), check_email(app.record.email_address)}) {
    if (!problem) continue;
    show_message(app.main_window, *problem, MB_ICONHAND);
    return false;
  }
  return true;
}

void on_convert(App& app, int, HWND) {
  entries_ready(app);
}
void on_exit(App& app, int, HWND) {
  confirm_exit(app);
}

struct CommandRoute {
  int id;
  int notification;
  CommandHandler handler;
};

constexpr CommandRoute command_routes[] = {
    {IDC_CONVERT, BN_CLICKED, on_convert},
    {IDC_EXIT, BN_CLICKED, on_exit},
    {IDC_CONFIRMED, BN_CLICKED, on_confirmed},
    {IDC_CALLSIGN, CBN_SELCHANGE, on_callsign_chosen},
    {IDC_CALLSIGN, CBN_EDITCHANGE, on_callsign_edited},
    {IDC_COUNTRY, CBN_SELCHANGE, on_country_chosen},
    {IDC_ENTRY, CBN_SELCHANGE, on_entry_chosen},
    {IDC_BAND, CBN_SELCHANGE, on_band_chosen},
    {IDC_MODE, CBN_SELCHANGE, on_mode_chosen},
    {IDC_NAME, EN_KILLFOCUS, on_field_left},
    {IDC_STREET_BOX, EN_KILLFOCUS, on_field_left},
    {IDC_CITY_TOWN, EN_KILLFOCUS, on_field_left},
    {IDC_STATE_PROVINCE, EN_KILLFOCUS, on_field_left},
    {IDC_POSTAL_CODE, EN_KILLFOCUS, on_field_left},
    {IDC_CQ_ZONE, EN_KILLFOCUS, on_field_left},
    {IDC_EMAIL_ADDRESS, EN_KILLFOCUS, on_field_left},
    {IDC_CLUB, EN_KILLFOCUS, on_field_left},
    {IDC_ANTENNA, EN_KILLFOCUS, on_field_left},
};

}  // namespace

void run_command(App& app, int id, int notification, HWND control) {
  for (const CommandRoute& route : command_routes) {
    if (route.id == id && route.notification == notification) {
      route.handler(app, id, control);
      return;
    }
  }
}

void load_stored_configuration(App& app) {
  const StoredCallsigns stored = list_configs(app.record, app.config_context());
  fill_callsign_list(app, stored);
  if (!stored.single) return;
  read_config(app.record, app.config_context());
  show_load_message(app);
  show_record(app);
}

}  // namespace tarvenix
