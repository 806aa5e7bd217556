// Package relationships (the _rels parts): which part a workbook's sheets, shared strings and
// calculation chain live in, resolved to zip entry names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "records/result.h"

namespace tarvenix::xlsx {

struct Relationship {
  std::string id;
  std::string type;
  std::string target;  // resolved to a zip entry name (no leading '/')
  size_t begin = 0;    // the Relationship element's byte range in the part's text
  size_t end = 0;
};

// The name of the relationships part that belongs to `part` ("" for the package itself).
std::string relationships_part_of(std::string_view part);

// Reads a relationships part; `source` is the part the targets are relative to.
Result<std::vector<Relationship>> parse_relationships(std::string_view xml, std::string_view part,
                                                      std::string_view source);

// True when the relationship type ends in "/<kind>" (transitional and strict namespaces alike).
bool has_type(const Relationship& relationship, std::string_view kind);

const Relationship* find_by_type(const std::vector<Relationship>& all, std::string_view kind);
const Relationship* find_by_id(const std::vector<Relationship>& all, std::string_view id);

// `target` taken relative to the folder of `source`, with "." and ".." folded.
std::string resolve_target(std::string_view source, std::string_view target);

}  // namespace tarvenix::xlsx
