// One ADIF record: its fields, found by upper-cased name, with direct references to the
// fields the evaluation reads most, and a balanced (AA) tree of them in name order.
//
// A record of up to listed_fields fields (a QSO has a dozen or two) is searched field by
// field, a one-word key compare each, which costs less than keeping a tree in order for
// every field added; its tree is linked only when fields() asks for it. A larger record
// keeps its tree linked and searches that.
//
// A record owns its fields and their text. The reader reuses one record for every QSO of a
// log: clear() forgets the fields but keeps the memory, so reading a log allocates only
// while records keep getting larger.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tarvenix {

// A name's first eight bytes as one number, the first byte highest and zeros after a
// shorter name. Keys order names as compare_names does wherever they differ, so most
// comparisons in a record's tree take one instruction; equal keys leave the names (longer
// than eight bytes, or holding zero bytes) to be compared in full.
constexpr uint64_t name_key(std::string_view name) {
  uint64_t key = 0;
  for (size_t i = 0; i < 8; ++i) {
    key = key << 8 | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0u);
  }
  return key;
}

// One field, and a node of its record's tree.
struct AdifField {
  std::string_view name;       // tag name, upper-cased (a to z only)
  std::string_view value;      // exactly `length` bytes; may hold line breaks and '<'
  uint64_t key = 0;            // name_key(name)
  int32_t length = 0;          // length declared in the tag
  int32_t level = 0;           // AA-tree level; a new node has level 0
  AdifField* left = nullptr;   // smaller names
  AdifField* right = nullptr;  // larger names
};

// Byte order on unsigned bytes; a prefix sorts before the longer name. Names are short, so
// a plain loop beats a call to memcmp.
inline int compare_names(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// The field named `name` (upper case, compared byte for byte) below `root`, or null.
const AdifField* find_field(const AdifField* root, std::string_view name);

// AA-tree insertion of `field` (its key set) below `root`; returns the new root. A field
// whose name is already in the tree is not linked, and `*inserted` (when given) is set to
// false.
AdifField* insert_field(AdifField* root, AdifField* field, bool* inserted = nullptr);

class QsoRecord {
 public:
  QsoRecord() = default;
  QsoRecord(const QsoRecord&) = delete;
  QsoRecord& operator=(const QsoRecord&) = delete;
  QsoRecord(QsoRecord&&) = default;
  QsoRecord& operator=(QsoRecord&&) = default;

  // Direct references, null when the record has no such field. The evaluation may point
  // time_on at the TIME_OFF field.
  const AdifField* call = nullptr;
  const AdifField* dxcc = nullptr;
  const AdifField* qso_date = nullptr;
  const AdifField* time_on = nullptr;
  const AdifField* band = nullptr;
  const AdifField* mode = nullptr;
  const AdifField* submode = nullptr;
  const AdifField* freq = nullptr;
  const AdifField* cqz = nullptr;
  const AdifField* qsl_rcvd = nullptr;
  const AdifField* lotw_qsl_rcvd = nullptr;
  const AdifField* eqsl_qsl_rcvd = nullptr;

  static constexpr size_t listed_fields = 32;

  const AdifField* fields() const;  // root of the tree
  const AdifField* find(std::string_view name) const;
  bool empty() const { return nodes_.empty(); }
  // Bytes the record's fields take: their text and their nodes.
  size_t footprint() const { return text_used_ + nodes_.size() * sizeof(AdifField); }
  size_t size() const { return nodes_.size(); }

  // Forgets every field; keeps the memory for the next record.
  void clear();

  // Adds a field from its raw name (upper-cased here) and value. Returns false, changing
  // nothing, when the record already holds a field of that name.
  bool add_field(std::string_view raw_name, std::string_view value, int32_t length);

 private:
  char* reserve_text(size_t n);
  void grow_text(size_t n);
  void grow_nodes();
  std::array<const AdifField**, 12> direct_references();
  void set_direct_reference(const AdifField* field);
  const AdifField* find_listed(uint64_t key, std::string_view name) const;
  void link_tree() const;

  std::vector<AdifField> nodes_;  // the fields in arrival order; links point into this vector
  std::vector<char> text_;  // names and values (views point here), then scan_slack spare bytes
  size_t text_used_ = 0;
  // The tree holds nodes_[0, linked_); fields() links the rest of a small record.
  mutable AdifField* root_ = nullptr;
  mutable size_t linked_ = 0;
  uint64_t name_filter_ = 0;  // a bit for every name held: most searches end at its test
};

}  // namespace tarvenix
