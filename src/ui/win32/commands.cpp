// The command handlers that keep the record in step with the controls, and the routing
// table from (control id, notification) to every command of the window.
#include "ui/win32/commands.h"

#include <cstring>

#include "ui/win32/actions.h"
#include "ui/win32/controls.h"
#include "ui/win32/field_checks.h"
#include "ui/win32/file_dialogs.h"
#include "ui/win32/resource.h"
#include "ui/win32/startup.h"
#include "ui/window_lists.h"

namespace tarvenix {
namespace {

using CommandHandler = void (*)(App&, int id, HWND control);

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

void on_fill_missing(App& app, int, HWND box) {
  const uint8_t off = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1;
  if (off != app.record.country_file_off) app.record.changed = 1;
  app.record.country_file_off = off;
}

void on_adif_button(App& app, int, HWND) {
  choose_adif_log(app);
}
void on_scoresheet_button(App& app, int, HWND) {
  choose_scoresheet(app);
}
void on_output_button(App& app, int, HWND) {
  choose_output(app);
}
void on_convert(App& app, int, HWND) {
  convert(app);
}
void on_about(App& app, int, HWND) {
  show_about(app);
}
void on_exit(App& app, int, HWND) {
  confirm_exit(app);
}
void on_help(App&, int, HWND) {
  open_author_page();
}
void on_view(App& app, int, HWND) {
  view_file(app);
}
void on_delete(App& app, int, HWND) {
  delete_configuration(app);
}
void on_update(App& app, int, HWND) {
  update_program(app);
}
void on_contest_link(App&, int, HWND) {
  open_contest_page();
}

struct CommandRoute {
  int id;
  int notification;
  CommandHandler handler;
  bool exclusive;  // an operator's command: never runs inside another one
};

constexpr CommandRoute command_routes[] = {
    {IDC_ADIF_BUTTON, BN_CLICKED, on_adif_button, true},
    {IDC_SCORESHEET_BUTTON, BN_CLICKED, on_scoresheet_button, true},
    {IDC_OUTPUT_BUTTON, BN_CLICKED, on_output_button, true},
    {IDC_CONVERT, BN_CLICKED, on_convert, true},
    {IDC_ABOUT, BN_CLICKED, on_about, true},
    {IDC_EXIT, BN_CLICKED, on_exit, true},
    {IDC_HELP_BUTTON, BN_CLICKED, on_help, true},
    {IDC_VIEW, BN_CLICKED, on_view, true},
    {IDC_DELETE, BN_CLICKED, on_delete, true},
    {IDC_UPDATE, BN_CLICKED, on_update, true},
    {IDC_CONFIRMED, BN_CLICKED, on_confirmed, false},
    {IDC_FILL_MISSING, BN_CLICKED, on_fill_missing, false},
    {IDC_CONTEST_LINK, STN_CLICKED, on_contest_link, true},
    {IDC_CALLSIGN, CBN_SELCHANGE, on_callsign_chosen, true},
    {IDC_CALLSIGN, CBN_EDITCHANGE, on_callsign_edited, false},
    {IDC_COUNTRY, CBN_SELCHANGE, on_country_chosen, false},
    {IDC_ENTRY, CBN_SELCHANGE, on_entry_chosen, false},
    {IDC_BAND, CBN_SELCHANGE, on_band_chosen, false},
    {IDC_MODE, CBN_SELCHANGE, on_mode_chosen, false},
    {IDC_NAME, EN_KILLFOCUS, on_field_left, false},
    {IDC_STREET_BOX, EN_KILLFOCUS, on_field_left, false},
    {IDC_CITY_TOWN, EN_KILLFOCUS, on_field_left, false},
    {IDC_STATE_PROVINCE, EN_KILLFOCUS, on_field_left, false},
    {IDC_POSTAL_CODE, EN_KILLFOCUS, on_field_left, false},
    {IDC_CQ_ZONE, EN_KILLFOCUS, on_field_left, false},
    {IDC_EMAIL_ADDRESS, EN_KILLFOCUS, on_field_left, false},
    {IDC_CLUB, EN_KILLFOCUS, on_field_left, false},
    {IDC_ANTENNA, EN_KILLFOCUS, on_field_left, false},
};

}  // namespace

void run_command(App& app, int id, int notification, HWND control) {
  for (const CommandRoute& route : command_routes) {
    if (route.id != id || route.notification != notification) continue;
    if (!route.exclusive) {
      route.handler(app, id, control);
    } else if (!app.busy) {
      // Boxes without an owner keep the window working while a command runs.
      app.busy = true;
      route.handler(app, id, control);
      app.busy = false;
    }
    return;
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
