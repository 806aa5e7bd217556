// The three mode classes the contest scores (CW, Phone, Digital), the ADIF modes of each,
// and the check that a QSO's mode is of the class the operator selected.
#pragma once

#include <array>
#include <string_view>

#include "adif/record.h"
#include "records/operator_config.h"
#include "records/run_records.h"

namespace tarvenix {

// Position = mode class; 0 "All" is the operator's "any class", or "no mode" as a result.
inline constexpr std::array<std::string_view, 4> MODE_CLASS_NAMES = {"All", "CW", "Phone",
                                                                     "Digital"};

inline constexpr std::array<std::string_view, 8> PHONE_MODES = {
    "AM", "ATV", "DIGITALVOICE", "FM", "LSB", "SSB", "USB", "SSTV"};

// Sorted in byte order: looked up by binary search.
inline constexpr std::array<std::string_view, 41> DIGITAL_MODES = {
    "ARDOP", "C4FM",   "CHIP",  "CLO",    "CONTESTI", "DOMINO", "DSTAR", "FAX",  "FSK441",
    "FT4",   "FT8",    "HELL",  "ISCAT",  "JT4",      "JT44",   "JT65",  "JT6M", "JT9",
    "MFSK",  "MSK144", "MT63",  "OLIVIA", "OPERA",    "PAC",    "PAX",   "PKT",  "PSK",
    "PSK2K", "Q15",    "QRA64", "ROS",    "RTTY",     "RTTYM",  "T10",   "THOR", "THRB",
    "TOR",   "V4",     "VOI",   "WINMOR", "WSPR"};

// The class 1 to 3 of an ADIF MODE text (exact, case-sensitive), or 0 for none.
int mode_class_of(std::string_view mode);

// The QSO's mode class 1 to 3, or 0 when it is rejected: then the reason is in
// operator_config.message (and its RunStats counter, if it has one, has grown).
int check_mode(const QsoRecord& record, OperatorConfig& operator_config, RunStats& stats);

}  // namespace tarvenix
