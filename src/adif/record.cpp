// The field tree of a record: AA-tree insertion and lookup, and the record's own storage.
#include "adif/record.h"

#include <cstring>

#include "adif/byte_scan.h"

namespace tarvenix {

namespace {

// One bit of a record's name filter, picked by a multiplicative hash of the key.
uint64_t filter_bit(uint64_t key) {
  return uint64_t{1} << ((key * 0x9e3779b97f4a7c15ULL) >> 58);
}

// Orders a name (with its key) against a field of the tree.
int compare_with(uint64_t key, std::string_view name, const AdifField& field) {
  if (key != field.key) return key < field.key ? -1 : 1;
  return compare_names(name, field.name);
}

AdifField* skew(AdifField* node) {
  AdifField* left = node->left;
  if (left == nullptr || left->level != node->level) return node;
  node->left = left->right;
  left->right = node;
  return left;
}

AdifField* split(AdifField* node) {
  AdifField* right = node->right;
  if (right == nullptr || right->right == nullptr || right->right->level != node->level)
    return node;
  node->right = right->left;
  right->left = node;
  right->level += 1;
  return right;
}

}  // namespace

const AdifField* find_field(const AdifField* root, std::string_view name) {
  const uint64_t key = name_key(name);
  while (root != nullptr) {
    const int c = compare_with(key, name, *root);
    if (c == 0) return root;
    root = c < 0 ? root->left : root->right;
  }
  return nullptr;
}

AdifField* insert_field(AdifField* root, AdifField* field, bool* inserted) {
  if (root == nullptr) {
    if (inserted != nullptr) *inserted = true;
    return field;
  }
  const int c = compare_with(field->key, field->name, *root);
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

std::array<const AdifField**, 12> QsoRecord::direct_references() {
  return {&call,    &dxcc, &qso_date, &time_on,  &band,          &mode,
          &submode, &freq, &cqz,      &qsl_rcvd, &lotw_qsl_rcvd, &eqsl_qsl_rcvd};
}

void QsoRecord::clear() {
  for (const AdifField** ref : direct_references()) *ref = nullptr;
  nodes_.clear();
  text_used_ = 0;
  root_ = nullptr;
  linked_ = 0;
  name_filter_ = 0;
}

// Links the fields not yet in the tree; their names are known to differ. The links are
// the record's own bookkeeping, not its contents, so a const record may set them.
void QsoRecord::link_tree() const {
  for (; linked_ < nodes_.size(); ++linked_) {
    root_ = insert_field(root_, const_cast<AdifField*>(&nodes_[linked_]));
  }
}

const AdifField* QsoRecord::fields() const {
  link_tree();
  return root_;
}

const AdifField* QsoRecord::find_listed(uint64_t key, std::string_view name) const {
  for (const AdifField& field : nodes_) {
    if (field.key == key && field.name == name) return &field;
  }
  return nullptr;
}

const AdifField* QsoRecord::find(std::string_view name) const {
  if (nodes_.size() > listed_fields) return find_field(root_, name);
  const uint64_t key = name_key(name);
  if ((name_filter_ & filter_bit(key)) == 0) return nullptr;  // the usual answer, at once
  return find_listed(key, name);
}

// Moves every view and link along when one of the two buffers moved.
template <typename T>
static T* rebase(T* p, const char* old_base, const char* new_base) {
  if (p == nullptr) return nullptr;
  return reinterpret_cast<T*>(const_cast<char*>(new_base) +
                              (reinterpret_cast<const char*>(p) - old_base));
}

// Growing is rare (records only grow until the largest one has been seen), so it stays
// out of the way of the common path.
void QsoRecord::grow_text(size_t n) {
  const char* old_base = text_.data();
  size_t capacity = text_.size() < 4096 ? 4096 : text_.size();
  while (capacity < text_used_ + n + scan_slack) capacity *= 2;
  text_.resize(capacity);
  const char* new_base = text_.data();
  if (old_base != new_base) {
    for (AdifField& f : nodes_) {
      f.name = {new_base + (f.name.data() - old_base), f.name.size()};
      f.value = {new_base + (f.value.data() - old_base), f.value.size()};
    }
  }
}

char* QsoRecord::reserve_text(size_t n) {
  if (text_used_ + n + scan_slack > text_.size()) grow_text(n);
  char* out = text_.data() + text_used_;
  text_used_ += n;
  return out;
}

void QsoRecord::grow_nodes() {
  const char* old_base = reinterpret_cast<const char*>(nodes_.data());
  nodes_.reserve(nodes_.empty() ? 32 : nodes_.size() * 2);
  const char* new_base = reinterpret_cast<const char*>(nodes_.data());
  if (old_base != nullptr && old_base != new_base) {
    for (AdifField& f : nodes_) {
      f.left = rebase(f.left, old_base, new_base);
      f.right = rebase(f.right, old_base, new_base);
    }
    root_ = rebase(root_, old_base, new_base);
    for (const AdifField** ref : direct_references()) *ref = rebase(*ref, old_base, new_base);
  }
}

namespace {
void refer_if_named(const AdifField*& reference, const AdifField* field, std::string_view name) {
  if (field->name == name) reference = field;
}
}  // namespace

void QsoRecord::set_direct_reference(const AdifField* field) {
  // The key picks the one candidate; the whole name must still match it.
  switch (field->key) {
    case name_key("CALL"):
      return refer_if_named(call, field, "CALL");
    case name_key("DXCC"):
      return refer_if_named(dxcc, field, "DXCC");
    case name_key("QSO_DATE"):
      return refer_if_named(qso_date, field, "QSO_DATE");
    case name_key("TIME_ON"):
      return refer_if_named(time_on, field, "TIME_ON");
    case name_key("BAND"):
      return refer_if_named(band, field, "BAND");
    case name_key("MODE"):
      return refer_if_named(mode, field, "MODE");
    case name_key("SUBMODE"):
      return refer_if_named(submode, field, "SUBMODE");
    case name_key("FREQ"):
      return refer_if_named(freq, field, "FREQ");
    case name_key("CQZ"):
      return refer_if_named(cqz, field, "CQZ");
    case name_key("QSL_RCVD"):
      return refer_if_named(qsl_rcvd, field, "QSL_RCVD");
    case name_key("LOTW_QSL_RCVD"):
      return refer_if_named(lotw_qsl_rcvd, field, "LOTW_QSL_RCVD");
    case name_key("EQSL_QSL_RCVD"):
      return refer_if_named(eqsl_qsl_rcvd, field, "EQSL_QSL_RCVD");
    default:
      return;
  }
}

namespace {

// Copies `raw` to `out` upper-cased and returns its name_key. Works a word at a time: the
// words may run up to 7 bytes past the name, into the value (written afterwards) or the
// text buffer's slack.
uint64_t copy_upper_cased(char* out, std::string_view raw) {
  if (!raw.empty()) std::memcpy(out, raw.data(), raw.size());
  for (size_t i = 0; i < raw.size(); i += 8) {
    byte_scan::store_word(out + i, byte_scan::upper_ascii(byte_scan::load_word(out + i)));
  }
  uint64_t first = byte_scan::load_word(out);
  if (raw.size() < 8) first &= (uint64_t{1} << (8 * raw.size())) - 1;  // zeros after the name
  return byte_scan::first_byte_highest(first);
}

}  // namespace

bool QsoRecord::add_field(std::string_view raw_name, std::string_view value, int32_t length) {
  const size_t text_mark = text_used_;
  char* name = reserve_text(raw_name.size() + value.size());
  const uint64_t key = copy_upper_cased(name, raw_name);
  if (!value.empty()) std::memcpy(name + raw_name.size(), value.data(), value.size());

  const std::string_view upper_name(name, raw_name.size());
  const bool listed = nodes_.size() < listed_fields;
  if (listed && (name_filter_ & filter_bit(key)) != 0 && find_listed(key, upper_name) != nullptr) {
    text_used_ = text_mark;  // the first occurrence of a name stays
    return false;
  }
  if (!listed) link_tree();  // a large record is searched through its tree

  if (nodes_.size() == nodes_.capacity()) grow_nodes();
  AdifField* const field = &nodes_.emplace_back();
  field->name = upper_name;
  field->value = {name + raw_name.size(), value.size()};
  field->key = key;
  field->length = length;
  if (linked_ != 0) {  // the tree is searched, or was asked for: it stays whole
    bool inserted = false;
    root_ = insert_field(root_, field, &inserted);
    if (!inserted) {
      nodes_.pop_back();
      text_used_ = text_mark;
      return false;
    }
    linked_ = nodes_.size();
  }
  name_filter_ |= filter_bit(key);
  set_direct_reference(field);
  return true;
}

}  // namespace tarvenix
