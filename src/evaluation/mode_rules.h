// The three mode classes the contest scores (CW, Phone, Digital), the ADIF modes of each,
// and the check that a QSO's mode is of the class the operator selected.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "adif/record.h"
#include "evaluation/rule_answer.h"

namespace tarvenix {

// The operator's Mode selection; its value is the mode class.
enum class ModeClass : uint8_t { all, cw, phone, digital };

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

// The QSO's mode class 1 to 3 of the selected class, or 0 with the rejection's reason and
// counter (a QSO without MODE has none).
RuleAnswer check_mode(const QsoRecord& record, ModeClass selected);

}  // namespace tarvenix
