// Every resource, control and command id of the Windows program, in one place. Included
// by the resource script and by the code (portable code included), so it holds only numbers.
#pragma once

// Icon and manifest.
#define IDI_TARVENIX 1
#define IDR_MANIFEST 1

// String table.
#define IDS_NOTICE 1602        // one-line notice of the About box
#define IDS_PROGRAM_NAME 1603  // "ADIF to DX Tarvenix"
#define IDS_CONTEST_PAGE 1607  // the contest's web page
#define IDS_AUTHOR_PAGE 1608   // the author's web page
#define IDS_LABEL_FIRST 1610   // labels of the 17 entry fields, 1610 to 1626, in slot order

// Buttons of the file rows (their labels) and the action buttons: the command ids.
#define IDC_ADIF_BUTTON 1001
#define IDC_SCORESHEET_BUTTON 1002
#define IDC_OUTPUT_BUTTON 1003
#define IDC_CONVERT 1004
#define IDC_ABOUT 1005
#define IDC_EXIT 1006
#define IDC_HELP_BUTTON 1007
#define IDC_VIEW 1008
#define IDC_DELETE 1009
#define IDC_UPDATE 1010
#define IDC_CONFIRMED 1020

// Edit controls.
#define IDC_NAME 1102
#define IDC_STREET_BOX 1103
#define IDC_CITY_TOWN 1104
#define IDC_STATE_PROVINCE 1105
#define IDC_POSTAL_CODE 1106
#define IDC_CQ_ZONE 1108
#define IDC_EMAIL_ADDRESS 1109
#define IDC_CLUB 1110
#define IDC_ANTENNA 1111
#define IDC_ADIF_FILE 1112
#define IDC_SCORESHEET_FILE 1113
#define IDC_OUTPUT_FILE 1114

// Statics: section titles, the contest link and the labels.
#define IDC_OPERATOR_TITLE 1201
#define IDC_CALLSIGN_LABEL 1210
#define IDC_NAME_LABEL 1211
#define IDC_STREET_BOX_LABEL 1212
#define IDC_CITY_TOWN_LABEL 1213
#define IDC_STATE_PROVINCE_LABEL 1214
#define IDC_POSTAL_CODE_LABEL 1215
#define IDC_COUNTRY_LABEL 1216
#define IDC_CQ_ZONE_LABEL 1217
#define IDC_EMAIL_ADDRESS_LABEL 1218
#define IDC_CLUB_LABEL 1219
#define IDC_ANTENNA_LABEL 1220
#define IDC_INPUTS_TITLE 1230
#define IDC_ENTRY_LABEL 1231
#define IDC_BAND_LABEL 1232
#define IDC_MODE_LABEL 1233
#define IDC_ACTIONS_TITLE 1240
#define IDC_CONTEST_LINK 1241

// Lists.
#define IDC_CALLSIGN 1301
#define IDC_COUNTRY 1302
#define IDC_ENTRY 1303
#define IDC_BAND 1304
#define IDC_MODE 1305
