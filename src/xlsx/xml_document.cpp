// rapidxml wrapped so that no parse exception leaves this file.
#include "xlsx/xml_document.h"

#include <cstring>

#include "xlsx/xml_scan.h"

namespace tarvenix::xlsx {

namespace {

constexpr int parse_flags = rapidxml::parse_validate_closing_tags;
// Without comments, CDATA sections or processing instructions every element's text is one piece,
// which rapidxml keeps as the element's value: no separate data nodes needed.
constexpr int plain_parse_flags = parse_flags | rapidxml::parse_no_data_nodes;

bool plain_markup(std::string_view text) {
  const size_t body = text.starts_with("<?xml") ? text.find("?>") : 0;
  return body != std::string_view::npos && text.find("<!", body) == std::string_view::npos &&
         text.find("<?", body) == std::string_view::npos;
}

// Parses the NUL-terminated `text` in place. The XML library reports damage only by throwing,
// so its exceptions end here, at its edge, and never leave the layer.
Result<> parse_in_place(rapidxml::xml_document<char>& document, char* text, bool plain,
                        std::string_view part) {
  try {
    if (plain) {
      document.parse<plain_parse_flags>(text);
    } else {
      document.parse<parse_flags>(text);
    }
  } catch (const rapidxml::parse_error& e) {
    return damaged_xml(part, e.what());
  } catch (const std::bad_alloc&) {
    return damaged_xml(part, "out of memory");
  }
  if (document.first_node() == nullptr) return damaged_xml(part, "no element");
  return {};
}

std::string_view after_prefix(std::string_view name) {
  const size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

}  // namespace

XmlDocument::XmlDocument() = default;
XmlDocument::~XmlDocument() = default;
XmlDocument::XmlDocument(XmlDocument&&) noexcept = default;
XmlDocument& XmlDocument::operator=(XmlDocument&&) noexcept = default;

Result<> XmlDocument::parse(std::string_view text, std::string_view part) {
  document_.reset();
  if (nesting_deeper_than(text, max_nesting)) return damaged_xml(part, "elements nested too deep");
  buffer_.assign(text.begin(), text.end());
  buffer_.push_back('\0');
  auto document = std::make_unique<rapidxml::xml_document<char>>();
  Result<> parsed = parse_in_place(*document, buffer_.data(), plain_markup(text), part);
  if (parsed.ok()) document_ = std::move(document);
  return parsed;
}

XmlNode* XmlDocument::root() const {
  return document_ ? document_->first_node() : nullptr;
}

size_t XmlDocument::offset_of(const XmlNode* element) const {
  return static_cast<size_t>(element->name() - buffer_.data()) - 1;
}

size_t XmlDocument::offset_of(const XmlAttribute* attribute) const {
  return static_cast<size_t>(attribute->name() - buffer_.data());
}

XmlElementParser::XmlElementParser() = default;
XmlElementParser::~XmlElementParser() = default;

Result<XmlNode*> XmlElementParser::parse(std::string_view element, std::string_view part) {
  if (!document_) document_ = std::make_unique<rapidxml::xml_document<char>>();
  document_->clear();
  buffer_.assign(element.begin(), element.end());
  buffer_.push_back('\0');
  const Result<> parsed = parse_in_place(*document_, buffer_.data(), plain_markup(element), part);
  if (!parsed.ok()) return parsed.failure();
  return document_->first_node();
}

size_t XmlElementParser::offset_of(const XmlNode* element) const {
  return static_cast<size_t>(element->name() - buffer_.data()) - 1;
}

Failure damaged_xml(std::string_view part, std::string_view why) {
  return Failure{"damaged XML in " + std::string(part) + ": " + std::string(why)};
}

std::string_view local_name(const XmlNode* node) {
  return after_prefix({node->name(), node->name_size()});
}

std::string_view local_name(const XmlAttribute* attribute) {
  return after_prefix({attribute->name(), attribute->name_size()});
}

XmlNode* first_child(const XmlNode* node, std::string_view local) {
  for (XmlNode* child = node->first_node(); child != nullptr; child = child->next_sibling()) {
    if (local_name(child) == local) return child;
  }
  return nullptr;
}

XmlNode* next_sibling(const XmlNode* node, std::string_view local) {
  for (XmlNode* next = node->next_sibling(); next != nullptr; next = next->next_sibling()) {
    if (local_name(next) == local) return next;
  }
  return nullptr;
}

XmlAttribute* find_attribute(const XmlNode* node, std::string_view local) {
  for (XmlAttribute* a = node->first_attribute(); a != nullptr; a = a->next_attribute()) {
    if (local_name(a) == local) return a;
  }
  return nullptr;
}

std::string_view attribute_value(const XmlNode* node, std::string_view local) {
  const XmlAttribute* a = find_attribute(node, local);
  return a == nullptr ? std::string_view() : std::string_view(a->value(), a->value_size());
}

std::string_view element_text(XmlNode* node, bool resolve_hex_escapes) {
  // Texts of later children lie further on in the buffer, so joining them at the first one's
  // place only ever moves bytes towards the front.
  char* start = nullptr;
  size_t size = 0;
  for (XmlNode* child = node->first_node(); child != nullptr; child = child->next_sibling()) {
    if (child->type() != rapidxml::node_data && child->type() != rapidxml::node_cdata) continue;
    if (start == nullptr) start = child->value();
    std::memmove(start + size, child->value(), child->value_size());
    size += child->value_size();
  }
  if (start == nullptr) {  // parsed without data nodes, or no text at all
    start = node->value();
    size = node->value_size();
  }
  if (resolve_hex_escapes) size = unescape_in_place(start, size);
  return {start, size};
}

}  // namespace tarvenix::xlsx
