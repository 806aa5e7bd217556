// Byte-level work on XML text that the parser does not do for us: where an element ends in
// the original text, how deep the nesting goes, escaping for writing, and the _xHHHH_ escapes
// spreadsheet files use for characters XML cannot hold.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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

// Calls `visit` with each attribute of the start tag `tag` (from '<' to '>'), in their order.
template <typename Visit>
void for_each_attribute(std::string_view tag, Visit visit);

// True when elements nest deeper than `limit` anywhere in the text (the parser recurses).
bool nesting_deeper_than(std::string_view xml, int limit);

// Appends `text` escaped for element content or a double-quoted attribute value. Bytes that are
// not valid UTF-8 are taken as Latin-1, and control characters become _xHHHH_.
void append_escaped(std::string& out, std::string_view text);

// Replaces the _xHHHH_ escapes in [data, data + size) in place; returns the new size.
size_t unescape_in_place(char* data, size_t size);

template <typename Visit>
void for_each_attribute(std::string_view tag, Visit visit) {
  auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  auto name_char = [&](char c) { return c != '=' && c != '>' && c != '/' && !space(c); };
  size_t at = 1;
  while (at < tag.size() && name_char(tag[at])) ++at;  // the element's name
  for (;;) {
    while (at < tag.size() && space(tag[at])) ++at;
    const size_t name_begin = at;
    while (at < tag.size() && name_char(tag[at])) ++at;
    const size_t name_end = at;
    at = tag.find_first_of("\"'>", at);
    if (at == std::string_view::npos || tag[at] == '>' || name_end == name_begin) return;
    const size_t close = tag.find(tag[at], at + 1);
    if (close == std::string_view::npos) return;
    at = close + 1;
    visit(RawAttribute{tag.substr(name_begin, name_end - name_begin),
                       tag.substr(name_begin, at - name_begin)});
  }
}

}  // namespace tarvenix::xlsx
