// An .xlsx package in memory: the zip archive, its first worksheet and shared strings, and the
// edits a save makes so spreadsheet programs recalculate every formula on opening the file.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "records/result.h"
#include "records/sink.h"
#include "xlsx/relationships.h"
#include "xlsx/shared_strings.h"
#include "xlsx/worksheet.h"
#include "xlsx/zip_reader.h"

namespace tarvenix::xlsx {

class Package {
 public:
  // Reads the archive's bytes; a failure's text is for the operator.
  Result<> open(std::string bytes);
  // The first worksheet in the workbook's sheet order.
  Worksheet& sheet() { return sheet_; }
  const Worksheet& sheet() const { return sheet_; }
  // Writes the whole package: every entry as it was, except the written worksheet, the workbook
  // part (full calculation on load) and the calculation chain with its references (left out).
  Result<> save(Sink& sink) const;

 private:
  Result<std::string> read_entry(std::string_view name);
  Result<std::vector<Relationship>> relationships_of(const std::string& relationships_part,
                                                     std::string_view source, std::string& xml);
  Result<> find_workbook();
  Result<> read_workbook();
  Result<> read_shared_strings(const std::vector<Relationship>& relationships);
  Result<> drop_calculation_chain(const std::vector<Relationship>& relationships,
                                  const std::string& relationships_xml,
                                  const std::string& relationships_part);

  ZipReader zip_;
  std::string workbook_part_;
  std::string sheet_part_;
  std::map<std::string, std::string> replaced_;  // entry name to its new content
  std::string dropped_;                          // the entry left out (the calculation chain)
  SharedStrings strings_;
  Worksheet sheet_;
};

}  // namespace tarvenix::xlsx
