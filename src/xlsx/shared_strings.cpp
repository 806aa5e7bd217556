// Reading the shared string table.
#include "xlsx/shared_strings.h"

namespace tarvenix::xlsx {

Result<> SharedStrings::parse(std::string_view xml, std::string_view part) {
  items_.clear();
  joined_.clear();
  const Result<> parsed = document_.parse(xml, part);
  if (!parsed.ok()) return parsed;
  std::vector<std::pair<size_t, std::string>> rich;  // item index, joined runs
  for (XmlNode* si = first_child(document_.root(), "si"); si != nullptr;
       si = next_sibling(si, "si")) {
    if (XmlNode* t = first_child(si, "t")) {
      items_.push_back(element_text(t));
      continue;
    }
    std::string runs;
    for (XmlNode* r = first_child(si, "r"); r != nullptr; r = next_sibling(r, "r")) {
      if (XmlNode* t = first_child(r, "t")) runs += element_text(t);
    }
    rich.emplace_back(items_.size(), std::move(runs));
    items_.emplace_back();
  }
  // Views into joined_ are taken once it no longer grows.
  joined_.reserve(rich.size());
  for (auto& [index, text] : rich) {
    joined_.push_back(std::move(text));
    items_[index] = joined_.back();
  }
  return {};
}

const std::string_view* SharedStrings::at(size_t index) const {
  return index < items_.size() ? &items_[index] : nullptr;
}

}  // namespace tarvenix::xlsx
