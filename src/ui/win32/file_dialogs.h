// The main window's file commands: choosing the ADIF log, the Scoresheet and the output
// workbook, and viewing a file with the program registered for it.
#pragma once

#include "ui/win32/app.h"

namespace tarvenix {

void choose_adif_log(App& app);
void choose_scoresheet(App& app);
// Proposes "<ADIF folder>\<call sign>.xlsx" when no output is chosen yet.
void choose_output(App& app);
void view_file(App& app);

// Opens a file or a web page with the program registered for it.
void open_with_shell(const std::string& target);

}  // namespace tarvenix
