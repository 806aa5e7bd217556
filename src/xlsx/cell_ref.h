// A1-style cell references: column letters and row numbers to 0-based indexes and back.
#pragma once

#include <string>
#include <string_view>

namespace tarvenix::xlsx {

inline constexpr int max_rows = 1048576;  // the format's limits
inline constexpr int max_columns = 16384;

struct CellRef {
  int row = -1;  // -1 when the reference has no row part
  int col = -1;  // -1 when it has no column part
};

// Parses "B12" (and "$B$12"); nothing valid gives {-1, -1}.
CellRef parse_cell_ref(std::string_view text);
// Parses a row number attribute ("12" gives index 11); -1 when invalid.
int parse_row_number(std::string_view text);
void append_cell_ref(std::string& out, int row, int col);

}  // namespace tarvenix::xlsx
