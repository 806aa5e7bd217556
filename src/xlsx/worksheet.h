// One worksheet part: its cells as read from the template, the cells written since, and the
// part's new text. Rows and cells the caller did not write keep their original bytes.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xlsx/shared_strings.h"
#include "xlsx/xml_document.h"
#include "xlsx/xml_scan.h"

namespace tarvenix::xlsx {

enum class CellKind : uint8_t { empty, number, text };

struct Cell {
  int col = 0;
  CellKind kind = CellKind::empty;
  bool written = false;        // its value was replaced: the cell's XML is written anew
  bool takes_formula = false;  // becomes the master of its shared formula (see SharedFormula)
  int32_t shared = -1;         // the shared formula group (si) the cell belongs to
  double number = 0;
  std::string_view text;  // into the shared strings or the sheet's own texts
  size_t begin = 0;       // the <c> element's offset in the original part; npos for a new cell
};

// A shared formula: written once, in its master cell, and used by the other cells of its group
// moved to their place. When the master is overwritten the next cell of the group takes it over.
struct SharedFormula {
  int row = 0;  // the master cell
  int col = 0;
  std::string text;  // as the master holds it
  std::string ref;   // the group's range, once the formula has moved
};

struct Row {
  int index = 0;
  bool changed = false;     // some cell written: the row's XML is written anew
  size_t begin = 0;         // the <row> element's offset in the original part; npos for a new row
  size_t end = 0;           // just past the original <row> element
  std::vector<Cell> cells;  // in column order
};

class Worksheet {
 public:
  // Reads the part; `strings` (may be null) must outlive the worksheet.
  Result<> parse(std::string xml, std::string_view part, const SharedStrings* strings);

  std::optional<std::string_view> text(int row, int col) const;
  double number(int row, int col) const;
  int last_row() const;
  void set_number(int row, int col, double value);
  void set_text(int row, int col, std::string_view text);

  bool changed() const { return changed_; }
  // The part's text with every written cell in it, whole or handed out piece by piece.
  std::string serialize() const;
  void serialize(const std::function<void(std::string_view)>& emit) const;

 private:
  // Returns where the rows end (the sheetData closing tag).
  Result<size_t> read_rows(size_t content_begin, const SharedStrings* strings);
  Result<> read_cells(const XmlElementParser& parser, XmlNode* row_node, Row& row,
                      const SharedStrings* strings);
  void read_value(XmlNode* c, Cell& cell, const SharedStrings* strings);
  void read_formula(XmlNode* c, int row, Cell& cell);
  void hand_on_formula(int row, int col, int32_t group);
  const Cell* find(int row, int col) const;
  Cell* cell_for_writing(int row, int col);

  // Writing (worksheet_writer.cpp). append_row returns where the original text continues after
  // the row (`here` for a new row).
  size_t append_row(std::string& out, const Row& row, size_t here) const;
  void append_cell(std::string& out, const Row& row, const Cell& cell) const;
  void append_formula_master(std::string& out, const Cell& cell, size_t end) const;
  void open_tag(std::string& out, std::string_view local) const;   // "<" prefix local
  void close_tag(std::string& out, std::string_view local) const;  // "</" prefix local ">"

  std::string xml_;  // the part as loaded
  std::string part_;
  std::string prefix_;     // the namespace prefix of the sheet's elements, with its ':'
  size_t data_begin_ = 0;  // the sheetData element's offset
  std::vector<Row> rows_;  // in row order
  std::map<int32_t, SharedFormula> shared_;  // by group
  std::deque<std::string> owned_texts_;      // the texts of cells (stable addresses)
  bool changed_ = false;
};

}  // namespace tarvenix::xlsx
