// The controls of the main window: created once at fixed client positions, filled from
// the record, and the antenna description stretched over the bottom of the window.
#pragma once

#include <windows.h>

#include <string>

#include "ui/config_store.h"
#include "ui/win32/app.h"

namespace tarvenix {

// Creates the fonts and every control in the window's order; false when one failed.
bool create_controls(App& app);

// Shows the record: the nine edit texts, Confirmed, and the Country, Entry, Band and Mode
// selections. The call-sign box is left alone.
void fill_controls(App& app);

// Places the antenna description at 25, 370, stretched to the client size.
void layout_antenna(App& app, int client_width, int client_height);

// "(select or new)" and the stored call signs; the one stored call sign is selected.
void fill_callsign_list(App& app, const StoredCallsigns& stored);

// The text of one row of a combo box.
std::string combo_row_text(HWND box, LRESULT row);

// A label in the bold (required) or the normal font.
void set_label_font(App& app, size_t slot, bool bold);

}  // namespace tarvenix
