// The rows of the main window's lists, in the order the record's indices count them.
// The Band and Mode lists are the evaluation's BAND_NAMES and MODE_CLASS_NAMES;
// country_list_names() gives the entity names of the Country list.
#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace tarvenix {

inline constexpr std::array<std::string_view, 5> entry_names = {
    "--", "UNLIMITED", "LIMITED <= 100 Watts", "FORMULA <= 100 Watts", "FORMULA <=   5 Watts"};

inline constexpr std::string_view country_list_first_row = "--";
inline constexpr std::string_view callsign_list_first_row = "(select or new)";

// The names of the entities that appear in the Country list, in entity-table order.
std::vector<std::string_view> country_list_names();

}  // namespace tarvenix
