// One ADIF record: its fields kept in a balanced (AA) tree keyed by upper-cased name, with
// direct references to the fields the evaluation reads most.
//
// A record owns its fields and their text. The reader reuses one record for every QSO of a
// log: clear() forgets the fields but keeps the memory, so reading a log allocates only
// while records keep getting larger.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tarvenix {

// One field, and a node of its record's tree.
struct AdifField {
  std::string_view name;       // tag name, upper-cased (a to z only)
  std::string_view value;      // exactly `length` bytes; may hold line breaks and '<'
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

// AA-tree insertion of `field` below `root`; returns the new root. A field whose name is
// already in the tree is not linked, and `*inserted` (when given) is set to false.
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

  const AdifField* fields() const { return root_; }  // root of the tree
  const AdifField* find(std::string_view name) const { return find_field(root_, name); }
  bool empty() const { return root_ == nullptr; }
  size_t size() const { return nodes_.size(); }

  // Forgets every field; keeps the memory for the next record.
  void clear();

  // Adds a field from its raw name (upper-cased here) and value. Returns false, changing
  // nothing, when the record already holds a field of that name.
  bool add_field(std::string_view raw_name, std::string_view value, int32_t length);

 private:
  char* reserve_text(size_t n);
  AdifField* new_node();
  void set_direct_reference(const AdifField* field);

  std::vector<AdifField> nodes_;  // tree nodes; links point into this vector
  std::vector<char> text_;        // names and values; views point into this buffer
  size_t text_used_ = 0;
  AdifField* root_ = nullptr;
};

}  // namespace tarvenix
