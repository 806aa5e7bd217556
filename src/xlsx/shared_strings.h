// The workbook's shared string table: the texts that string cells refer to by index.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "xlsx/xml_document.h"

namespace tarvenix::xlsx {

class SharedStrings {
 public:
  // Reads the part's <si> items; a rich-text item is the join of its runs (phonetic runs left out).
  Result<> parse(std::string_view xml, std::string_view part);
  size_t size() const { return items_.size(); }
  // The item's text, or nothing for an index past the table.
  const std::string_view* at(size_t index) const;

 private:
  XmlDocument document_;             // single-run items point into it
  std::vector<std::string> joined_;  // rich-text items, joined
  std::vector<std::string_view> items_;
};

}  // namespace tarvenix::xlsx
