// The field tree of a record: AA-tree insertion and lookup, and the record's own storage.
#include "adif/record.h"

#include <cstring>

namespace tarvenix {

int compare_names(std::string_view a, std::string_view b) {
  // Names mostly differ in their first byte; decide those without calling memcmp (lookups
  // of absent fields are frequent in the evaluation).
  if (!a.empty() && !b.empty() && a[0] != b[0])
    return static_cast<unsigned char>(a[0]) < static_cast<unsigned char>(b[0]) ? -1 : 1;
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  const int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);  // memcmp compares unsigned
  if (c != 0) return c < 0 ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

const AdifField* find_field(const AdifField* root, std::string_view name) {
  while (root != nullptr) {
    const int c = compare_names(name, root->name);
    if (c == 0) return root;
    root = c < 0 ? root->left : root->right;
  }
  return nullptr;
}

namespace {

AdifField* skew(AdifField* node) {
  AdifField* left = node->left;
  if (left == nullptr || left->level != node->level) return node;
  node->left = left->right;
  left->right = node;
  return left;
}

AdifField* split(AdifField* node) {
  AdifField* right = node->right;
  if (right == nullptr || right->right == nullptr || right->right->level != node->level) return node;
  node->right = right->left;
  right->left = node;
  right->level += 1;
  return right;
}

}  // namespace

AdifField* insert_field(AdifField* root, AdifField* field, bool* inserted) {
  if (root == nullptr) {
    if (inserted != nullptr) *inserted = true;
    return field;
  }
  const int c = compare_names(field->name, root->name);
  if (c == 0) {
    if (inserted != nullptr) *inserted = false;
    return root;
  }
  if (c < 0) {
    root->left = insert_field(root->left, field, inserted);
  } else {
    root->right = insert_field(root->right, field, inserted);
  }
  return split(skew(root));
}

void QsoRecord::clear() {
  call = dxcc = qso_date = time_on = band = mode = submode = nullptr;
  nodes_.clear();
  text_used_ = 0;
  root_ = nullptr;
}

// Moves every view and link along when one of the two buffers moved.
template <typename T>
static T* rebase(T* p, const char* old_base, const char* new_base) {
  if (p == nullptr) return nullptr;
  return reinterpret_cast<T*>(const_cast<char*>(new_base) +
                              (reinterpret_cast<const char*>(p) - old_base));
}

char* QsoRecord::reserve_text(size_t n) {
  if (text_used_ + n > text_.size()) {
    const char* old_base = text_.data();
    size_t capacity = text_.size() < 4096 ? 4096 : text_.size();
    while (capacity < text_used_ + n) capacity *= 2;
    text_.resize(capacity);
    const char* new_base = text_.data();
    if (old_base != new_base) {
      for (AdifField& f : nodes_) {
        f.name = {new_base + (f.name.data() - old_base), f.name.size()};
        f.value = {new_base + (f.value.data() - old_base), f.value.size()};
      }
    }
  }
  char* out = text_.data() + text_used_;
  text_used_ += n;
  return out;
}

AdifField* QsoRecord::new_node() {
  if (nodes_.size() == nodes_.capacity()) {
    const char* old_base = reinterpret_cast<const char*>(nodes_.data());
    nodes_.reserve(nodes_.empty() ? 32 : nodes_.size() * 2);
    const char* new_base = reinterpret_cast<const char*>(nodes_.data());
    if (old_base != nullptr && old_base != new_base) {
      for (AdifField& f : nodes_) {
        f.left = rebase(f.left, old_base, new_base);
        f.right = rebase(f.right, old_base, new_base);
      }
      root_ = rebase(root_, old_base, new_base);
      for (const AdifField** ref : {&call, &dxcc, &qso_date, &time_on, &band, &mode, &submode})
        *ref = rebase(*ref, old_base, new_base);
    }
  }
  return &nodes_.emplace_back();
}

void QsoRecord::set_direct_reference(const AdifField* field) {
  const std::string_view n = field->name;
  if (n == "CALL") call = field;
  else if (n == "DXCC") dxcc = field;
  else if (n == "QSO_DATE") qso_date = field;
  else if (n == "TIME_ON") time_on = field;
  else if (n == "BAND") band = field;
  else if (n == "MODE") mode = field;
  else if (n == "SUBMODE") submode = field;
}

bool QsoRecord::add_field(std::string_view raw_name, std::string_view value, int32_t length) {
  const size_t text_mark = text_used_;
  char* name = reserve_text(raw_name.size() + value.size());
  for (size_t i = 0; i < raw_name.size(); ++i) {
    const char ch = raw_name[i];
    name[i] = (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
  }
  if (!value.empty()) std::memcpy(name + raw_name.size(), value.data(), value.size());

  AdifField* field = new_node();
  field->name = {name, raw_name.size()};
  field->value = {name + raw_name.size(), value.size()};
  field->length = length;
  bool inserted = false;
  root_ = insert_field(root_, field, &inserted);
  if (!inserted) {  // the first occurrence of a name stays
    nodes_.pop_back();
    text_used_ = text_mark;
    return false;
  }
  set_direct_reference(field);
  return true;
}

}  // namespace tarvenix
