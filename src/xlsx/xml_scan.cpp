// A minimal tag scanner over well-formed XML text (the parser has already accepted it), and the
// escaping rules for text written into spreadsheet XML.
#include "xlsx/xml_scan.h"

#include <cstdint>

namespace tarvenix::xlsx {

namespace {

enum class TagKind { open, close, empty, other };

struct Tag {
  TagKind kind = TagKind::other;
  size_t end = std::string_view::npos;  // just past the tag
};

size_t past(std::string_view xml, size_t from, std::string_view terminator) {
  const size_t at = xml.find(terminator, from);
  return at == std::string_view::npos ? at : at + terminator.size();
}

// The markup starting at `begin` (a '<'): comments, CDATA, declarations and tags.
Tag read_tag(std::string_view xml, size_t begin) {
  const std::string_view rest = xml.substr(begin);
  if (rest.starts_with("<!--")) return {TagKind::other, past(xml, begin + 4, "-->")};
  if (rest.starts_with("<![CDATA[")) return {TagKind::other, past(xml, begin + 9, "]]>")};
  if (rest.starts_with("<?")) return {TagKind::other, past(xml, begin + 2, "?>")};
  if (rest.starts_with("<!")) return {TagKind::other, past(xml, begin + 2, ">")};
  if (rest.starts_with("</")) return {TagKind::close, past(xml, begin + 2, ">")};
  char quote = 0;
  for (size_t i = begin + 1; i < xml.size(); ++i) {
    const char c = xml[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return {xml[i - 1] == '/' ? TagKind::empty : TagKind::open, i + 1};
    }
  }
  return {};
}

void append_hex_escape(std::string& out, uint32_t code) {
  static const char hex_digits[] = "0123456789ABCDEF";
  out += "_x";
  for (int shift = 12; shift >= 0; shift -= 4) out += hex_digits[(code >> shift) & 0xf];
  out += '_';
}

bool is_hex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

uint32_t hex_value(char c) {
  if (c <= '9') return static_cast<uint32_t>(c - '0');
  return static_cast<uint32_t>((c | 0x20) - 'a' + 10);
}

// True when `text` at `at` holds _xHHHH_.
bool hex_escape_at(std::string_view text, size_t at) {
  if (text.size() - at < 7 || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_') {
    return false;
  }
  for (size_t i = at + 2; i < at + 6; ++i) {
    if (!is_hex(text[i])) return false;
  }
  return true;
}

// The length of the valid UTF-8 sequence at `at`, or 0.
size_t utf8_length(std::string_view text, size_t at) {
  const auto b = static_cast<unsigned char>(text[at]);
  size_t length = 0;
  uint32_t lowest = 0;
  if (b >= 0xc2 && b <= 0xdf) {
    length = 2, lowest = 0x80;
  } else if (b >= 0xe0 && b <= 0xef) {
    length = 3, lowest = 0x800;
  } else if (b >= 0xf0 && b <= 0xf4) {
    length = 4, lowest = 0x10000;
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  uint32_t code = b & (0x3f >> (length - 1));
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xc0) != 0x80) return 0;
    code = code << 6 | (next & 0x3f);
  }
  const bool surrogate = code >= 0xd800 && code <= 0xdfff;
  return code < lowest || code > 0x10ffff || surrogate ? 0 : length;
}

size_t append_utf8(char* out, uint32_t code) {
  if (code < 0x80) {
    out[0] = static_cast<char>(code);
    return 1;
  }
  if (code < 0x800) {
    out[0] = static_cast<char>(0xc0 | code >> 6);
    out[1] = static_cast<char>(0x80 | (code & 0x3f));
    return 2;
  }
  out[0] = static_cast<char>(0xe0 | code >> 12);
  out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3f));
  out[2] = static_cast<char>(0x80 | (code & 0x3f));
  return 3;
}

// Appends the entity for a markup character; false for any other character.
bool append_entity(std::string& out, char c) {
  switch (c) {
    case '&':
      out += "&amp;";
      return true;
    case '<':
      out += "&lt;";
      return true;
    case '>':
      out += "&gt;";
      return true;
    case '"':
      out += "&quot;";
      return true;
    default:
      return false;
  }
}

}  // namespace

size_t element_end(std::string_view xml, size_t begin, int limit) {
  int depth = 0;
  size_t at = begin;
  while (at < xml.size()) {
    const Tag tag = read_tag(xml, at);
    if (tag.end == std::string_view::npos) return tag.end;
    if (tag.kind == TagKind::open && ++depth > limit) return std::string_view::npos;
    if (tag.kind == TagKind::close) --depth;
    if (depth == 0 && tag.kind != TagKind::other) return tag.end;
    at = xml.find('<', tag.end);
  }
  return std::string_view::npos;
}

size_t start_tag_end(std::string_view xml, size_t begin) {
  return read_tag(xml, begin).end;
}

bool find_top_child(std::string_view xml, std::string_view local, size_t& begin,
                    size_t& content_begin, bool& empty) {
  int depth = 0;
  for (size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at)) {
    const Tag tag = read_tag(xml, at);
    if (tag.end == std::string_view::npos) return false;
    if (tag.kind == TagKind::close) --depth;
    if ((tag.kind == TagKind::open || tag.kind == TagKind::empty) && depth == 1) {
      if (local_tag_name(xml, at) == local) {
        begin = at;
        content_begin = tag.end;
        empty = tag.kind == TagKind::empty;
        return true;
      }
    }
    if (tag.kind == TagKind::open) ++depth;
    at = tag.end;
  }
  return false;
}

bool nesting_deeper_than(std::string_view xml, int limit) {
  int depth = 0;
  for (size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at)) {
    const Tag tag = read_tag(xml, at);
    if (tag.end == std::string_view::npos) return false;  // the parser reports the damage
    if (tag.kind == TagKind::open && ++depth > limit) return true;
    if (tag.kind == TagKind::close) --depth;
    at = tag.end;
  }
  return false;
}

void append_escaped(std::string& out, std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      const size_t length = utf8_length(text, i);
      if (length > 0) {
        out.append(text.substr(i, length));
        i += length;
      } else {
        out += static_cast<char>(0xc0 | byte >> 6);
        out += static_cast<char>(0x80 | (byte & 0x3f));
        ++i;
      }
      continue;
    }
    if (append_entity(out, c)) {
      ++i;
      continue;
    }
    switch (c) {
      case '\t':
      case '\n':
        out += c;
        break;
      case '_':
        if (hex_escape_at(text, i)) {
          append_hex_escape(out, '_');
        } else {
          out += c;
        }
        break;
      default:
        if (byte < 0x20 || byte == 0x7f) {
          append_hex_escape(out, byte);
        } else {
          out += c;
        }
    }
    ++i;
  }
}

void append_markup_escaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    if (!append_entity(out, c)) out += c;
  }
}

std::string_view local_tag_name(std::string_view xml, size_t at) {
  const size_t end = xml.find_first_of(" \t\r\n/>", at + 1);
  std::string_view name = xml.substr(at + 1, end == std::string_view::npos ? 0 : end - at - 1);
  const size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

size_t unescape_in_place(char* data, size_t size) {
  const std::string_view text(data, size);
  size_t out = 0;
  for (size_t i = 0; i < size;) {
    if (hex_escape_at(text, i)) {
      uint32_t code = 0;
      for (size_t h = i + 2; h < i + 6; ++h) code = code << 4 | hex_value(text[h]);
      out += append_utf8(data + out, code);
      i += 7;
    } else {
      data[out++] = data[i++];
    }
  }
  return out;
}

}  // namespace tarvenix::xlsx
