// The commands of the Actions section: Convert, Delete, Update, About, and the two web
// pages. Each runs to its end before the window takes another command.
#pragma once

#include "ui/win32/app.h"

namespace tarvenix {

// Checks the entries and files, asks before replacing a converted workbook, runs the
// conversion (bad-call list downloaded first) and tells the result.
void convert(App& app);

// Deletes the stored configuration of the current call sign after asking.
void delete_configuration(App& app);

// Checks the author's server for a newer program; with the operator's consent downloads
// it, starts it and quits.
void update_program(App& app);

void show_about(App& app);
void open_author_page();
void open_contest_page();

// A load leaves its text for the operator in the record: shown, then emptied.
void show_load_message(App& app);
// Saves the record; a file that cannot be written is told.
void save_config(App& app);
// Saves the record when it was edited.
void save_if_changed(App& app);
// Shows the record in the controls and applies the country and entry rules.
void show_record(App& app);

}  // namespace tarvenix
