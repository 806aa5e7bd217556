// The rows of the main window's lists, in the order the record's indices count them.
// BAND_NAMES and MODE_CLASS_NAMES repeat the evaluation's band and mode names for the
// window; country_list_names() gives the entity names of the Country list.
#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace tarvenix {

inline constexpr std::array<std::string_view, 5> ENTRY_NAMES = {
    "--", "UNLIMITED", "LIMITED <= 100 Watts", "FORMULA <= 100 Watts", "FORMULA <=   5 Watts"};

inline constexpr std::array<std::string_view, 14> WINDOW_BAND_NAMES = {
    "All", "160M", "80M", "60M", "40M", "30M", "20M", "17M", "15M", "12M", "10M", "6M", "4M", "2M"};

inline constexpr std::array<std::string_view, 4> WINDOW_MODE_NAMES = {"All", "CW", "Phone",
                                                                      "Digital"};

inline constexpr std::string_view country_list_first_row = "--";
inline constexpr std::string_view callsign_list_first_row = "(select or new)";

// The names of the entities that appear in the Country list, in entity-table order.
std::vector<std::string_view> country_list_names();

}  // namespace tarvenix
