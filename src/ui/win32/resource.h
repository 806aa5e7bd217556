// Every resource, control and command id of the Windows program, in one place: the ids of the
// entry fields come from the portable control_ids.h, the rest stand here. Included by the
// resource script and by the code, so it holds only numbers.
#pragma once

#include "ui/control_ids.h"

// Icon and manifest.
#define IDI_TARVENIX 1
#define IDR_MANIFEST 1

// String table.
#define IDS_NOTICE 1602        // one-line notice of the About box
#define IDS_PROGRAM_NAME 1603  // "ADIF to DX Tarvenix"
#define IDS_CONTEST_PAGE 1607  // the contest's web page
#define IDS_AUTHOR_PAGE 1608   // the author's web page

// The action buttons and the check boxes: their command ids.
#define IDC_CONVERT 1004
#define IDC_ABOUT 1005
#define IDC_EXIT 1006
#define IDC_HELP_BUTTON 1007
#define IDC_VIEW 1008
#define IDC_DELETE 1009
#define IDC_UPDATE 1010
#define IDC_CONFIRMED 1020
#define IDC_FILL_MISSING 1021  // the country file fills in missing DXCC and CQ Zones

// Statics: section titles and the contest link.
#define IDC_OPERATOR_TITLE 1201
#define IDC_INPUTS_TITLE 1230
#define IDC_ACTIONS_TITLE 1240
#define IDC_CONTEST_LINK 1241
