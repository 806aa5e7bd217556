// Byte-level work on XML text that the parser does not do for us: where an element ends in
// the original text, how deep the nesting goes, escaping for writing, and the _xHHHH_ escapes
// spreadsheet files use for characters XML cannot hold.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvenix::xlsx {

// The offset just past the element whose start tag begins at `begin` (a '<'), or npos.
size_t element_end(std::string_view xml, size_t begin);

// The offset just past the start tag beginning at `begin` (its closing '>'), or npos.
size_t start_tag_end(std::string_view xml, size_t begin);

// One attribute as written in a start tag: its name and its whole text (name="value").
struct RawAttribute {
  std::string_view name;
  std::string_view text;
};

// The attributes of the start tag `tag` (from '<' to '>'), in their order.
std::vector<RawAttribute> raw_attributes(std::string_view tag);

// True when elements nest deeper than `limit` anywhere in the text (the parser recurses).
bool nesting_deeper_than(std::string_view xml, int limit);

// Appends `text` escaped for element content or a double-quoted attribute value. Bytes that are
// not valid UTF-8 are taken as Latin-1, and control characters become _xHHHH_.
void append_escaped(std::string& out, std::string_view text);

// Replaces the _xHHHH_ escapes in [data, data + size) in place; returns the new size.
size_t unescape_in_place(char* data, size_t size);

}  // namespace tarvenix::xlsx
