// Byte-level work on XML text that the parser does not do for us: where elements start and end
// in the original text, how deep the nesting goes, the attributes of a start tag as written,
// escaping for writing, and the _xHHHH_ escapes spreadsheet files use for characters XML cannot
// hold. The scanning functions expect markup that the parser accepts; on anything else they
// return npos or false rather than read past the text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvenix::xlsx {

// How deep elements may nest in the parts we parse (rapidxml recurses once per level; spreadsheet
// parts nest less than ten deep).
inline constexpr int max_nesting = 200;

// The offset just past the element whose start tag begins at `begin` (a '<'), or npos when it
// does not end or nests deeper than `limit`.
size_t element_end(std::string_view xml, size_t begin, int limit = max_nesting);

// The offset just past the start tag beginning at `begin` (its closing '>'), or npos.
size_t start_tag_end(std::string_view xml, size_t begin);

// Where the first child of the document element with the local name `local` starts, and where
// its content starts (just past its start tag); false when there is none.
bool find_top_child(std::string_view xml, std::string_view local, size_t& begin,
                    size_t& content_begin, bool& empty);

// Calls `visit(begin, end)` for each element in the content starting at `content_begin` (visit
// returns false to stop); returns where the content ends (the '<' of the closing tag), or npos
// when the content is not well formed or nests too deep.
template <typename Visit>
size_t for_each_child(std::string_view xml, size_t content_begin, Visit visit);

// True when elements nest deeper than `limit` anywhere in the text.
bool nesting_deeper_than(std::string_view xml, int limit);

// One attribute as written in a start tag: its name and its whole text (name="value").
struct RawAttribute {
  std::string_view name;
  std::string_view text;
};

// Calls `visit` with each attribute of the start tag `tag` (from '<' to '>'), in their order.
template <typename Visit>
void for_each_attribute(std::string_view tag, Visit visit);

// Appends `text` escaped for element content or a double-quoted attribute value. Bytes that are
// not valid UTF-8 are taken as Latin-1, and control characters become _xHHHH_.
void append_escaped(std::string& out, std::string_view text);

// Appends `text` with only the markup characters escaped (for formulas, taken as they are).
void append_markup_escaped(std::string& out, std::string_view text);

// The local name (after any prefix) of the tag starting at `at` (a '<').
std::string_view local_tag_name(std::string_view xml, size_t at);

// Replaces the _xHHHH_ escapes in [data, data + size) in place; returns the new size.
size_t unescape_in_place(char* data, size_t size);

template <typename Visit>
size_t for_each_child(std::string_view xml, size_t content_begin, Visit visit) {
  constexpr size_t npos = std::string_view::npos;
  for (size_t at = xml.find('<', content_begin); at != npos; at = xml.find('<', at)) {
    if (xml.substr(at, 2) == "</") return at;
    const size_t tag_end = start_tag_end(xml, at);
    if (tag_end == npos) return npos;
    const bool element = xml[at + 1] != '!' && xml[at + 1] != '?';
    const size_t end = element && xml[tag_end - 2] != '/' ? element_end(xml, at) : tag_end;
    if (end == npos || (element && !visit(at, end))) return npos;
    at = end;
  }
  return npos;
}

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
