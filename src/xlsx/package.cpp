// Finding the parts of a workbook through its relationships, and saving the package.
#include "xlsx/package.h"

#include <algorithm>

#include "records/text_compare.h"
#include "xlsx/relationships.h"
#include "xlsx/xml_document.h"
#include "xlsx/xml_scan.h"
#include "xlsx/zip_writer.h"

namespace tarvenix::xlsx {

namespace {

const char* const content_types_part = "[Content_Types].xml";

// Workbook children that the schema puts after calcPr.
constexpr std::string_view after_calc_pr[] = {
    "oleSize",       "customWorkbookViews", "pivotCaches",       "smartTagPr", "smartTagTypes",
    "webPublishing", "fileRecoveryPr",      "webPublishObjects", "extLst"};

std::string_view prefix_of(const XmlNode* node) {
  return {node->name(), node->name_size() - local_name(node).size()};
}

// The end of an attribute's text (past its closing quote), given the offset of its name.
size_t attribute_end(std::string_view xml, size_t name_offset) {
  const size_t quote = xml.find_first_of("\"'", name_offset);
  return xml.find(xml[quote], quote + 1) + 1;
}

// The workbook text with fullCalcOnLoad="1" on calcPr (added when missing).
std::string with_full_calc_on_load(const std::string& xml, const XmlDocument& document) {
  const XmlNode* root = document.root();
  std::string out = xml;
  if (const XmlNode* calc = first_child(root, "calcPr")) {
    if (const XmlAttribute* full = find_attribute(calc, "fullCalcOnLoad")) {
      const size_t begin = document.offset_of(full);
      out.replace(begin, attribute_end(xml, begin) - begin, "fullCalcOnLoad=\"1\"");
    } else {
      out.insert(document.offset_of(calc) + 1 + calc->name_size(), " fullCalcOnLoad=\"1\"");
    }
    return out;
  }
  size_t at = xml.rfind('<', element_end(xml, document.offset_of(root)) - 1);
  for (const XmlNode* child = root->first_node(); child != nullptr; child = child->next_sibling()) {
    if (child->type() != rapidxml::node_element) continue;
    if (std::find(std::begin(after_calc_pr), std::end(after_calc_pr), local_name(child)) !=
        std::end(after_calc_pr)) {
      at = document.offset_of(child);
      break;
    }
  }
  std::string calc_pr(1, '<');
  calc_pr.append(prefix_of(root)).append("calcPr fullCalcOnLoad=\"1\"/>");
  out.insert(at, calc_pr);
  return out;
}

// `xml` without the elements starting at the given offsets.
std::string without_elements(const std::string& xml, const std::vector<size_t>& begins) {
  std::string out;
  size_t cursor = 0;
  for (size_t begin : begins) {
    out.append(xml, cursor, begin - cursor);
    cursor = element_end(xml, begin);
  }
  out.append(xml, cursor);
  return out;
}

}  // namespace

bool Package::open(std::string bytes, std::string& error) {
  replaced_.clear();
  dropped_.clear();
  if (!zip_.open(std::move(bytes), error) || !find_workbook(error) || !read_workbook(error)) {
    return false;
  }
  std::string sheet_xml;
  return read_entry(sheet_part_, sheet_xml, error) &&
         sheet_.parse(std::move(sheet_xml), sheet_part_, &strings_, error);
}

bool Package::read_entry(std::string_view name, std::string& out, std::string& error) {
  const ZipEntry* entry = zip_.find(name);
  if (entry == nullptr) {
    error = "not a workbook: no " + std::string(name);
    return false;
  }
  return zip_.extract(*entry, out, error);
}

bool Package::find_workbook(std::string& error) {
  workbook_part_ = "xl/workbook.xml";
  const std::string root_part = relationships_part_of("");
  if (zip_.find(root_part) != nullptr) {
    std::string xml;
    std::vector<Relationship> relationships;
    if (!read_entry(root_part, xml, error) ||
        !parse_relationships(xml, root_part, "", relationships, error)) {
      return false;
    }
    if (const Relationship* office = find_by_type(relationships, "officeDocument")) {
      workbook_part_ = office->target;
    }
  }
  if (zip_.find(workbook_part_) == nullptr) {
    error = "not a workbook: no workbook part";
    return false;
  }
  return true;
}

bool Package::read_workbook(std::string& error) {
  std::string xml;
  XmlDocument document;
  if (!read_entry(workbook_part_, xml, error) || !document.parse(xml, workbook_part_, error)) {
    return false;
  }
  const std::string relationships_part = relationships_part_of(workbook_part_);
  std::string relationships_xml;
  std::vector<Relationship> relationships;
  if (zip_.find(relationships_part) != nullptr &&
      (!read_entry(relationships_part, relationships_xml, error) ||
       !parse_relationships(relationships_xml, relationships_part, workbook_part_, relationships,
                            error))) {
    return false;
  }
  sheet_part_.clear();
  const XmlNode* sheets = first_child(document.root(), "sheets");
  for (const XmlNode* s = sheets ? first_child(sheets, "sheet") : nullptr;
       s != nullptr && sheet_part_.empty(); s = next_sibling(s, "sheet")) {
    const Relationship* r = find_by_id(relationships, attribute_value(s, "id"));
    if (r != nullptr && has_type(*r, "worksheet")) sheet_part_ = r->target;
  }
  if (sheet_part_.empty()) {
    error = "not a workbook: no worksheet";
    return false;
  }
  if (zip_.find(sheet_part_) == nullptr) {
    error = "damaged workbook: " + sheet_part_ + " is missing";
    return false;
  }
  replaced_[zip_.find(workbook_part_)->name] = with_full_calc_on_load(xml, document);
  return read_shared_strings(relationships, error) &&
         drop_calculation_chain(relationships, relationships_xml, relationships_part, error);
}

bool Package::read_shared_strings(const std::vector<Relationship>& relationships,
                                  std::string& error) {
  const Relationship* r = find_by_type(relationships, "sharedStrings");
  if (r == nullptr || zip_.find(r->target) == nullptr) return true;
  std::string xml;
  return read_entry(r->target, xml, error) && strings_.parse(xml, r->target, error);
}

bool Package::drop_calculation_chain(const std::vector<Relationship>& relationships,
                                     const std::string& relationships_xml,
                                     const std::string& relationships_part, std::string& error) {
  const Relationship* chain = find_by_type(relationships, "calcChain");
  if (chain == nullptr) return true;
  replaced_[zip_.find(relationships_part)->name] =
      without_elements(relationships_xml, {chain->begin});
  if (const ZipEntry* entry = zip_.find(chain->target)) dropped_ = entry->name;
  std::string types;
  XmlDocument document;
  if (zip_.find(content_types_part) == nullptr) return true;
  if (!read_entry(content_types_part, types, error) ||
      !document.parse(types, content_types_part, error)) {
    return false;
  }
  std::vector<size_t> overrides;
  for (const XmlNode* o = first_child(document.root(), "Override"); o != nullptr;
       o = next_sibling(o, "Override")) {
    if (equal_ignoring_case(attribute_value(o, "PartName"), "/" + chain->target)) {
      overrides.push_back(document.offset_of(o));
    }
  }
  replaced_[zip_.find(content_types_part)->name] = without_elements(types, overrides);
  return true;
}

bool Package::save(Sink& sink, std::string& error) const {
  ZipWriter writer(sink);
  for (const ZipEntry& entry : zip_.entries()) {
    if (entry.name == dropped_) continue;
    bool ok = true;
    const auto replacement = replaced_.find(entry.name);
    if (entry.name == zip_.find(sheet_part_)->name && sheet_.changed()) {
      Deflater deflater;
      sheet_.serialize([&deflater](std::string_view piece) { deflater.write(piece); });
      ok = deflater.finish() && writer.add_deflated(entry, deflater);
    } else if (replacement != replaced_.end()) {
      ok = writer.add_deflated(entry, replacement->second);
    } else {
      ok = writer.add_copy(entry, zip_.compressed_data(entry));
    }
    if (!ok) {
      error = writer.error();
      return false;
    }
  }
  if (!writer.finish()) {
    error = writer.error();
    return false;
  }
  return true;
}

}  // namespace tarvenix::xlsx
