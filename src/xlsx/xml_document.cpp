// rapidxml wrapped so that no parse exception leaves this file.
#include "xlsx/xml_document.h"

#include <cstring>

#include "xlsx/xml_scan.h"

namespace tarvenix::xlsx {

namespace {

// rapidxml recurses once per nesting level; spreadsheet parts nest less than ten deep.
constexpr int kMaxNesting = 200;
constexpr int kParseFlags = rapidxml::parse_validate_closing_tags;

std::string_view after_prefix(std::string_view name) {
  const size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

}  // namespace

XmlDocument::XmlDocument() = default;
XmlDocument::~XmlDocument() = default;
XmlDocument::XmlDocument(XmlDocument&&) noexcept = default;
XmlDocument& XmlDocument::operator=(XmlDocument&&) noexcept = default;

bool XmlDocument::parse(std::string_view text, std::string_view part, std::string& error) {
  document_.reset();
  const std::string prefix = "damaged XML in " + std::string(part);
  if (nesting_deeper_than(text, kMaxNesting)) {
    error = prefix + ": elements nested too deep";
    return false;
  }
  buffer_.assign(text.begin(), text.end());
  buffer_.push_back('\0');
  auto document = std::make_unique<rapidxml::xml_document<char>>();
  try {
    document->parse<kParseFlags>(buffer_.data());
  } catch (const rapidxml::parse_error& e) {
    error = prefix + ": " + e.what();
    return false;
  } catch (const std::bad_alloc&) {
    error = prefix + ": out of memory";
    return false;
  }
  if (document->first_node() == nullptr) {
    error = prefix + ": no element";
    return false;
  }
  document_ = std::move(document);
  return true;
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

std::string_view element_text(XmlNode* node) {
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
  if (start == nullptr) return {};
  size = unescape_in_place(start, size);
  return {start, size};
}

}  // namespace tarvenix::xlsx
