// The ids of the 17 entry fields of the main window and of their labels: the field table of
// the portable operator logic names them, and the Windows program (through resource.h) creates
// its controls with them. Numbers only, so the resource script can include it too.
#pragma once

// The string table entry of the first label; the 17 labels follow in slot order.
#define IDS_LABEL_FIRST 1610  // labels of the 17 entry fields, 1610 to 1626, in slot order

// Entry controls: the edits, the lists and the read-only edits of the file rows.
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
#define IDC_CALLSIGN 1301
#define IDC_COUNTRY 1302
#define IDC_ENTRY 1303
#define IDC_BAND 1304
#define IDC_MODE 1305

// Their labels: statics, and the buttons of the file rows (also their command ids).
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
#define IDC_ENTRY_LABEL 1231
#define IDC_BAND_LABEL 1232
#define IDC_MODE_LABEL 1233
#define IDC_ADIF_BUTTON 1001
#define IDC_SCORESHEET_BUTTON 1002
#define IDC_OUTPUT_BUTTON 1003
