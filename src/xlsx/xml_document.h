// One XML part parsed with rapidxml, in a copy of its text, plus lookups by local name (parts
// may prefix their elements with any namespace prefix). Offsets found here point into the
// original text, so callers can splice it without reformatting anything they did not change.
#pragma once

#include <rapidxml/rapidxml.hpp>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "records/result.h"

namespace tarvenix::xlsx {

using XmlNode = rapidxml::xml_node<char>;
using XmlAttribute = rapidxml::xml_attribute<char>;

class XmlDocument {
 public:
  XmlDocument();
  ~XmlDocument();
  XmlDocument(XmlDocument&&) noexcept;
  XmlDocument& operator=(XmlDocument&&) noexcept;

  // Parses `text`; fails with "damaged XML in <part>: ..." when it is not well-formed.
  Result<> parse(std::string_view text, std::string_view part);
  // The document element, or null before a successful parse.
  XmlNode* root() const;
  // The offset of the '<' opening `element` in the text given to parse().
  size_t offset_of(const XmlNode* element) const;
  // Same for an attribute: the offset of its name.
  size_t offset_of(const XmlAttribute* attribute) const;

 private:
  std::vector<char> buffer_;  // the parsed copy; values and texts point into it
  std::unique_ptr<rapidxml::xml_document<char>> document_;
};

// Parses one element at a time out of a long text, reusing the same buffer and node memory, so a
// large worksheet is read row by row without a node for every cell at once. The nodes and their
// texts are valid until the next parse.
class XmlElementParser {
 public:
  XmlElementParser();
  ~XmlElementParser();
  XmlElementParser(const XmlElementParser&) = delete;
  XmlElementParser& operator=(const XmlElementParser&) = delete;

  // The element whose whole text is `element`, or a failure naming `part`. The caller makes
  // sure it nests no deeper than max_nesting (element_end() does).
  Result<XmlNode*> parse(std::string_view element, std::string_view part);
  // The offset of `element`'s '<' from the start of the text last parsed.
  size_t offset_of(const XmlNode* element) const;

 private:
  std::vector<char> buffer_;
  std::unique_ptr<rapidxml::xml_document<char>> document_;
};

// "damaged XML in <part>: <why>".
Failure damaged_xml(std::string_view part, std::string_view why);

std::string_view local_name(const XmlNode* node);
std::string_view local_name(const XmlAttribute* attribute);
XmlNode* first_child(const XmlNode* node, std::string_view local);
XmlNode* next_sibling(const XmlNode* node, std::string_view local);
XmlAttribute* find_attribute(const XmlNode* node, std::string_view local);
// The attribute's value (entities resolved), or empty when it is absent.
std::string_view attribute_value(const XmlNode* node, std::string_view local);
// The element's character data (text and CDATA children joined), with _xHHHH_ escapes resolved
// unless told otherwise (formulas do not use them).
// Works in the parsed copy, so the view lives as long as the document; call it once per element.
std::string_view element_text(XmlNode* node, bool resolve_hex_escapes = true);

}  // namespace tarvenix::xlsx
