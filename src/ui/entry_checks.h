// Checks of the operator's entries: the form of the call sign and the e-mail address, the
// CQ Zone range, and which fields the chosen country and entry category make required.
// A check returns nothing when the entry is valid, else the text to show the operator.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ui/operator_config.h"

namespace tarvenix {

// Letters and digits with single '/' between them; see entry_checks.cpp for the rules.
std::optional<std::string> check_callsign(std::string_view text);

// Empty, or matching ^[A-Z0-9._%+-]+@[A-Z0-9.-]+\.[A-Z]{2,6}$ with case ignored. Linear in
// the length of the text.
std::optional<std::string> check_email(std::string_view text);
bool email_matches(std::string_view text);

// An empty CQ Zone, or one whose decimal value (as atoi reads it) is 1 to 40, is valid.
std::optional<std::string> check_cq_zone(const char* text);

// State/Province and Postal Code are required for this country.
bool country_requires_address(const OperatorConfig& record);

// The Antenna Description is required for this entry category.
bool entry_requires_antenna(int entry_index);

inline constexpr const char* usa_country_name = "United States of America";
inline constexpr int first_entry_needing_antenna = 2;

}  // namespace tarvenix
