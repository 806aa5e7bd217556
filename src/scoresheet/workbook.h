// The Scoresheet workbook: the few operations the conversion needs on an .xlsx file.
// Load a template, read and write cells of its first sheet, save under a new name.
// Rows and columns count from 0. Failures are values: load() and save() return false and
// leave a text for the operator in error_message().
#pragma once

#include <memory>
#include <string>

#include "records/sheet.h"

namespace tarvenix {

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
