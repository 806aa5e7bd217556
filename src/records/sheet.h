// The first sheet of a loaded Scoresheet, as the conversion sees it: read and write cells by
// row and column (both counted from 0). The workbook behind it belongs to the conversion
// run; the entity map and the filling only need this much.
#pragma once

#include <optional>
#include <string_view>

namespace tarvenix {

class Sheet {
 public:
  virtual ~Sheet() = default;
  // The cell's text, or nothing when it holds no text (a number, an empty or style-only
  // cell). The view stays valid until the cell is written or the workbook is released.
  virtual std::optional<std::string_view> read_text(int row, int col) const = 0;
  // The cell's number; 0 for a cell without a number.
  virtual double read_number(int row, int col) const = 0;
  // The index of the row after the last row that holds a cell.
  virtual int last_row() const = 0;
  // Both keep the cell's style; a formula in the cell is replaced by the value.
  virtual void write_number(int row, int col, double value) = 0;
  virtual void write_text(int row, int col, std::string_view text) = 0;
};

}  // namespace tarvenix
