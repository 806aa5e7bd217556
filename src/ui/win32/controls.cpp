// Creating and filling the main window's controls. Positions are client pixels.
#include "ui/win32/controls.h"

#include <commctrl.h>

#include <span>
#include <string_view>
#include <vector>

#include "evaluation/band_rules.h"
#include "evaluation/mode_rules.h"
#include "ui/win32/hyperlink.h"
#include "ui/win32/resource.h"
#include "ui/window_lists.h"

namespace tarvenix {
namespace {

constexpr DWORD edit_style = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD drop_list_style = WS_VSCROLL | WS_TABSTOP | CBS_HASSTRINGS | CBS_DROPDOWNLIST;

FontHandle make_font(int height, int weight) {
  return FontHandle(CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, FF_SWISS, "Arial"));
}

class Builder {
 public:
  explicit Builder(App& app) : app_(app) {}

  HWND add(const char* window_class, const std::string& text, DWORD style, RECT box, int id,
           HFONT font) {
    const HWND control =
        CreateWindowExA(0, window_class, text.c_str(), WS_CHILD | WS_VISIBLE | style, box.left,
                        box.top, box.right, box.bottom, app_.main_window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app_.instance, nullptr);
    if (control == nullptr) failed_ = true;
    if (control != nullptr && font != nullptr)
      SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
  }

  // A field's label: right-aligned before the field, or left-aligned after it.
  void label(size_t slot, int x, int y, DWORD align, bool may_be_bold) {
    const FieldDescriptor& d = app_.fields[slot];
    const HFONT font = may_be_bold && d.required ? app_.fonts.bold.get() : app_.fonts.normal.get();
    add("STATIC", d.label, align, {x, y + 2, 80, 20}, d.label_id, font);
  }

  void field(size_t slot, const char* window_class, DWORD style, RECT box) {
    app_.field_controls[slot] =
        add(window_class, "", style, box, app_.fields[slot].control_id, app_.fonts.bold.get());
  }

  void edit_row(size_t slot, int y, DWORD extra_style = 0) {
    field(slot, "EDIT", edit_style | extra_style, {110, y, 150, 20});
    label(slot, 20, y, SS_RIGHT, true);
  }

  void list_row(size_t slot, int y, std::span<const std::string_view> rows) {
    field(slot, "COMBOBOX", drop_list_style, {300, y, 200, 100});
    add_rows(app_.field_control(slot), rows);
    SendMessageA(app_.field_control(slot), CB_SETCURSEL, 0, 0);
    label(slot, 510, y, SS_LEFT, false);
  }

  void file_row(size_t slot, int y) {
    field(slot, "EDIT", WS_BORDER | WS_TABSTOP | ES_READONLY, {300, y, 200, 20});
    const FieldDescriptor& d = app_.fields[slot];
    add("BUTTON", d.label, BS_PUSHBUTTON, {510, y, 80, 20}, d.label_id, app_.fonts.bold.get());
  }

  void heading(const char* text, int x, int y, int width, int id) {
    add("STATIC", text, 0, {x, y, width, 20}, id, app_.fonts.heading.get());
  }

  void button(const char* text, int x, int y, int id) {
    add("BUTTON", text, BS_PUSHBUTTON, {x, y, 80, 25}, id, nullptr);
  }

  static void add_rows(HWND list, std::span<const std::string_view> rows) {
    for (std::string_view row : rows) {
      const std::string text(row);
      SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }

  bool failed() const { return failed_; }

 private:
  App& app_;
  bool failed_ = false;
};

void add_name_tooltip(App& app) {
  const HWND tip = CreateWindowExA(
      0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_BALLOON | TTS_ALWAYSTIP, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, app.main_window, nullptr, app.instance, nullptr);
  if (tip == nullptr) return;
  SendMessageA(tip, TTM_ACTIVATE, TRUE, 0);
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = app.main_window;
  tool.uId = reinterpret_cast<UINT_PTR>(app.field_control(slot_name));
  char text[] = "Name (required)";
  tool.lpszText = text;
  SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void create_operator_section(App& app, Builder& b) {
  b.heading("Operator Information", 110, 12, 150, IDC_OPERATOR_TITLE);
  b.field(slot_callsign, "COMBOBOX",
          WS_VSCROLL | WS_TABSTOP | CBS_UPPERCASE | CBS_SORT | CBS_HASSTRINGS | CBS_DROPDOWN,
          {110, 40, 150, 200});
  b.label(slot_callsign, 20, 40, SS_RIGHT, true);
  for (size_t slot = slot_name; slot <= slot_postal_code; ++slot)
    b.edit_row(slot, 70 + 30 * static_cast<int>(slot - slot_name));
  add_name_tooltip(app);

  b.field(slot_country, "COMBOBOX",
          WS_VSCROLL | WS_TABSTOP | CBS_SORT | CBS_HASSTRINGS | CBS_DROPDOWNLIST,
          {110, 220, 150, 200});
  b.label(slot_country, 20, 220, SS_RIGHT, true);
  const std::string_view first_row[] = {country_list_first_row};
  Builder::add_rows(app.field_control(slot_country), first_row);
  const std::vector<std::string_view> names = country_list_names();
  Builder::add_rows(app.field_control(slot_country), names);
  SendMessageA(app.field_control(slot_country), CB_SETCURSEL, 0, 0);

  b.edit_row(slot_cq_zone, 250, ES_NUMBER);
  b.edit_row(slot_email_address, 280);
  b.edit_row(slot_club, 310);

  b.add("STATIC", app.fields[slot_antenna].label, SS_LEFT, {25, 340, 150, 20}, IDC_ANTENNA_LABEL,
        app.fonts.normal.get());
  app.field_controls[slot_antenna] =
      b.add("EDIT", app.record.antenna_description,
            WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, {0, 0, 0, 0},
            IDC_ANTENNA, nullptr);
}

void create_inputs_section(Builder& b) {
  b.heading("Inputs", 380, 12, 150, IDC_INPUTS_TITLE);
  b.list_row(slot_entry, 40, entry_names);
  b.list_row(slot_band, 70, BAND_NAMES);
  b.list_row(slot_mode, 100, MODE_CLASS_NAMES);
  b.file_row(slot_adif, 130);
  b.file_row(slot_scoresheet, 160);
  b.file_row(slot_output, 190);
}

void create_actions_section(App& app, Builder& b) {
  b.heading("Actions", 365, 222, 150, IDC_ACTIONS_TITLE);
  b.button("Convert", 300, 250, IDC_CONVERT);
  b.button("View", 300, 280, IDC_VIEW);
  b.button("Update", 300, 310, IDC_UPDATE);
  b.button("Delete", 405, 250, IDC_DELETE);
  b.button("Exit", 405, 280, IDC_EXIT);
  b.button("About", 510, 250, IDC_ABOUT);
  b.button("Help", 510, 280, IDC_HELP_BUTTON);
  b.add("BUTTON", "Confirmed", BS_AUTOCHECKBOX | BS_LEFTTEXT, {470, 220, 100, 20}, IDC_CONFIRMED,
        nullptr);
  // Below the contest link, its box under the Confirmed box, in the free band above the
  // antenna description.
  const HWND fill_missing =
      b.add("BUTTON", "Fill in missing DXCC/CQ Zone", BS_AUTOCHECKBOX | BS_LEFTTEXT,
            {320, 345, 250, 20}, IDC_FILL_MISSING, nullptr);
  SendMessageA(fill_missing, BM_SETCHECK, BST_CHECKED, 0);  // on in a fresh record
  b.heading("DX Tarvenix", 435, 320, 110, IDC_CONTEST_LINK);
  make_hyperlink(app.main_window, IDC_CONTEST_LINK);
}

void select_row(HWND list, int row) {
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

}  // namespace

bool create_controls(App& app) {
  app.fonts.normal = make_font(14, 0);
  app.fonts.bold = make_font(14, FW_BOLD);
  app.fonts.heading = make_font(16, FW_BOLD);
  Builder builder(app);
  create_operator_section(app, builder);
  create_inputs_section(builder);
  create_actions_section(app, builder);
  return !builder.failed();
}

void fill_controls(App& app) {
  for (size_t slot : {slot_name, slot_street_box, slot_city_town, slot_state_province,
                      slot_postal_code, slot_cq_zone, slot_email_address, slot_club, slot_antenna})
    SetWindowTextA(app.field_control(slot), app.fields[slot].buffer);
  SendMessageA(app.control(IDC_CONFIRMED), BM_SETCHECK,
               app.record.confirmed ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageA(app.control(IDC_FILL_MISSING), BM_SETCHECK,
               app.record.country_file_off ? BST_UNCHECKED : BST_CHECKED, 0);
  select_row(app.field_control(slot_country), app.record.country_index);
  select_row(app.field_control(slot_entry), app.record.entry_index);
  select_row(app.field_control(slot_band), app.record.band_index);
  select_row(app.field_control(slot_mode), app.record.mode_index);
}

void layout_antenna(App& app, int client_width, int client_height) {
  MoveWindow(app.field_control(slot_antenna), 25, 370, client_width - 50, client_height - 390,
             TRUE);
}

void fill_callsign_list(App& app, const StoredCallsigns& stored) {
  const HWND box = app.field_control(slot_callsign);
  SendMessageA(box, CB_RESETCONTENT, 0, 0);
  const std::string_view first_row[] = {callsign_list_first_row};
  Builder::add_rows(box, first_row);
  std::vector<std::string_view> callsigns(stored.callsigns.begin(), stored.callsigns.end());
  Builder::add_rows(box, callsigns);
  select_row(box, stored.single ? 1 : 0);
}

std::string combo_row_text(HWND box, LRESULT row) {
  if (row < 0) return {};
  const LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(row), 0);
  if (length == CB_ERR) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

void set_label_font(App& app, size_t slot, bool bold) {
  const HWND label = app.control(app.fields[slot].label_id);
  const HFONT font = bold ? app.fonts.bold.get() : app.fonts.normal.get();
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace tarvenix
