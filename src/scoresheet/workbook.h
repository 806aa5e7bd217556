// The Scoresheet workbook: the few operations the conversion needs on an .xlsx file.
// Load a template, read and write cells of its first sheet, save under a new name.
// Rows and columns count from 0. Failures are values: load() and save() return false and
// leave a text for the operator in error_message().
#pragma once

#include <memory>
#include <optional>
#include <string>
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

class Workbook {
 public:
  Workbook();  // a new, empty workbook object
  ~Workbook();
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  bool load(const std::string& path);
  const std::string& error_message() const;
  Sheet* first_sheet();  // null when nothing is loaded or the workbook has no sheet
  // Writes a new file at `path` (through a temporary file renamed over it), never the
  // template it was loaded from.
  bool save(const std::string& path);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tarvenix
