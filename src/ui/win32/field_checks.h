// The checks that run while the operator edits: field lengths, the CQ Zone range, the
// call-sign and country lengths, and the labels of the fields that the chosen country and
// entry category make required.
#pragma once

#include "ui/win32/app.h"

namespace tarvenix {

// An edit of the operator section lost the focus: its text goes into the record.
void check_field(App& app, size_t slot);

// The call-sign box's text changed.
void check_callsign_length(App& app);

// A new Country was chosen.
void check_country_length(App& app);

// State/Province and Postal Code required (bold) for the United States of America; then
// apply_entry_rules.
void apply_country_rules(App& app);

// Antenna Description required (bold) from the LIMITED entry on.
void apply_entry_rules(App& app);

}  // namespace tarvenix
