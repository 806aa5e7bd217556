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

Result<> Package::open(std::string bytes) {
  replaced_.clear();
  dropped_.clear();
  Result<> step = zip_.open(std::move(bytes));
  if (step.ok()) step = find_workbook();
  if (step.ok()) step = read_workbook();
  if (!step.ok()) return step;
  Result<std::string> sheet_xml = read_entry(sheet_part_);
  if (!sheet_xml.ok()) return sheet_xml.failure();
  return sheet_.parse(std::move(sheet_xml).value(), sheet_part_, &strings_);
}

Result<std::string> Package::read_entry(std::string_view name) {
  const ZipEntry* entry = zip_.find(name);
  if (entry == nullptr) return Failure{"not a workbook: no " + std::string(name)};
  return zip_.extract(*entry);
}

// A part's relationships: none when it has no relationships part.
Result<std::vector<Relationship>> Package::relationships_of(const std::string& relationships_part,
                                                            std::string_view source,
                                                            std::string& xml) {
  if (zip_.find(relationships_part) == nullptr) return std::vector<Relationship>{};
  Result<std::string> read = read_entry(relationships_part);
  if (!read.ok()) return read.failure();
  xml = std::move(read).value();
  return parse_relationships(xml, relationships_part, source);
}

Result<> Package::find_workbook() {
  workbook_part_ = "xl/workbook.xml";
  std::string xml;
  const Result<std::vector<Relationship>> relationships =
      relationships_of(relationships_part_of(""), "", xml);
  if (!relationships.ok()) return relationships.failure();
  if (const Relationship* office = find_by_type(relationships.value(), "officeDocument")) {
    workbook_part_ = office->target;
  }
  if (zip_.find(workbook_part_) == nullptr) return Failure{"not a workbook: no workbook part"};
  return {};
}

Result<> Package::read_workbook() {
  const Result<std::string> xml = read_entry(workbook_part_);
  if (!xml.ok()) return xml.failure();
  XmlDocument document;
  const Result<> parsed = document.parse(xml.value(), workbook_part_);
  if (!parsed.ok()) return parsed;
  const std::string relationships_part = relationships_part_of(workbook_part_);
  std::string relationships_xml;
  const Result<std::vector<Relationship>> relationships =
      relationships_of(relationships_part, workbook_part_, relationships_xml);
  if (!relationships.ok()) return relationships.failure();
  sheet_part_.clear();
  const XmlNode* sheets = first_child(document.root(), "sheets");
  for (const XmlNode* s = sheets ? first_child(sheets, "sheet") : nullptr;
       s != nullptr && sheet_part_.empty(); s = next_sibling(s, "sheet")) {
    const Relationship* r = find_by_id(relationships.value(), attribute_value(s, "id"));
    if (r != nullptr && has_type(*r, "worksheet")) sheet_part_ = r->target;
  }
  if (sheet_part_.empty()) return Failure{"not a workbook: no worksheet"};
  if (zip_.find(sheet_part_) == nullptr) {
    return Failure{"damaged workbook: " + sheet_part_ + " is missing"};
  }
  replaced_[zip_.find(workbook_part_)->name] = with_full_calc_on_load(xml.value(), document);
  const Result<> strings = read_shared_strings(relationships.value());
  if (!strings.ok()) return strings;
  return drop_calculation_chain(relationships.value(), relationships_xml, relationships_part);
}

Result<> Package::read_shared_strings(const std::vector<Relationship>& relationships) {
  const Relationship* r = find_by_type(relationships, "sharedStrings");
  if (r == nullptr || zip_.find(r->target) == nullptr) return {};
  Result<std::string> xml = read_entry(r->target);
  if (!xml.ok()) return xml.failure();
  // The table's items point into its own copy of the text.
  return strings_.parse(xml.value(), r->target);
}

Result<> Package::drop_calculation_chain(const std::vector<Relationship>& relationships,
                                         const std::string& relationships_xml,
                                         const std::string& relationships_part) {
  const Relationship* chain = find_by_type(relationships, "calcChain");
  if (chain == nullptr) return {};
  replaced_[zip_.find(relationships_part)->name] =
      without_elements(relationships_xml, {chain->begin});
  if (const ZipEntry* entry = zip_.find(chain->target)) dropped_ = entry->name;
  if (zip_.find(content_types_part) == nullptr) return {};
  const Result<std::string> types = read_entry(content_types_part);
  if (!types.ok()) return types.failure();
  XmlDocument document;
  const Result<> parsed = document.parse(types.value(), content_types_part);
  if (!parsed.ok()) return parsed;
  std::vector<size_t> overrides;
  for (const XmlNode* o = first_child(document.root(), "Override"); o != nullptr;
       o = next_sibling(o, "Override")) {
    if (equal_ignoring_case(attribute_value(o, "PartName"), "/" + chain->target)) {
      overrides.push_back(document.offset_of(o));
    }
  }
  replaced_[zip_.find(content_types_part)->name] = without_elements(types.value(), overrides);
  return {};
}

Result<> Package::save(Sink& sink) const {
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
    if (!ok) return Failure{writer.error()};
  }
  if (!writer.finish()) return Failure{writer.error()};
  return {};
}

}  // namespace tarvenix::xlsx
