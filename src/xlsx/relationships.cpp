// Reading relationship parts and resolving their targets.
#include "xlsx/relationships.h"

#include "xlsx/xml_document.h"
#include "xlsx/xml_scan.h"

namespace tarvenix::xlsx {

namespace {

std::string_view folder_of(std::string_view part) {
  const size_t slash = part.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : part.substr(0, slash + 1);
}

}  // namespace

std::string relationships_part_of(std::string_view part) {
  const std::string_view folder = folder_of(part);
  return std::string(folder) + "_rels/" + std::string(part.substr(folder.size())) + ".rels";
}

std::string resolve_target(std::string_view source, std::string_view target) {
  std::string path = target.starts_with('/') ? std::string() : std::string(folder_of(source));
  size_t start = 0;
  while (start <= target.size()) {
    size_t slash = target.find('/', start);
    if (slash == std::string_view::npos) slash = target.size();
    const std::string_view segment = target.substr(start, slash - start);
    if (segment == "..") {
      if (!path.empty()) path.pop_back();
      path.erase(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    } else if (!segment.empty() && segment != ".") {
      path.append(segment);
      if (slash < target.size()) path += '/';
    }
    start = slash + 1;
  }
  return path;
}

Result<std::vector<Relationship>> parse_relationships(std::string_view xml, std::string_view part,
                                                      std::string_view source) {
  XmlDocument document;
  const Result<> parsed = document.parse(xml, part);
  if (!parsed.ok()) return parsed.failure();
  std::vector<Relationship> out;
  for (XmlNode* r = first_child(document.root(), "Relationship"); r != nullptr;
       r = next_sibling(r, "Relationship")) {
    Relationship relationship;
    relationship.id = attribute_value(r, "Id");
    relationship.type = attribute_value(r, "Type");
    const bool external = attribute_value(r, "TargetMode") == "External";
    const std::string_view target = attribute_value(r, "Target");
    relationship.target = external ? std::string(target) : resolve_target(source, target);
    relationship.begin = document.offset_of(r);
    relationship.end = element_end(xml, relationship.begin);
    out.push_back(std::move(relationship));
  }
  return out;
}

bool has_type(const Relationship& relationship, std::string_view kind) {
  const std::string_view type = relationship.type;
  return type.size() > kind.size() && type.ends_with(kind) &&
         type[type.size() - kind.size() - 1] == '/';
}

const Relationship* find_by_type(const std::vector<Relationship>& all, std::string_view kind) {
  for (const Relationship& r : all) {
    if (has_type(r, kind)) return &r;
  }
  return nullptr;
}

const Relationship* find_by_id(const std::vector<Relationship>& all, std::string_view id) {
  for (const Relationship& r : all) {
    if (r.id == id) return &r;
  }
  return nullptr;
}

}  // namespace tarvenix::xlsx
