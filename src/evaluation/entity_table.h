// The built-in entity table: every DXCC entity (and the six contest entities 901 to 906)
// with the prefix the Scoresheet writes for it, the code ADIF logs carry, and the name the
// operator's Country list shows.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tarvenix {

struct EntityEntry {
  std::string_view prefix;  // Scoresheet notation; "/x" tells apart shared base prefixes
  int32_t code;             // ADIF DXCC entity code; 901 to 906 are the contest's own
  int32_t in_country_list;  // 1 = offered in the Country list
  std::string_view name;    // empty for deleted entities
};

inline constexpr size_t entity_table_size = 408;

// Sorted by prefix in byte order; codes unique and non-zero.
extern const std::array<EntityEntry, entity_table_size> ENTITY_TABLE;

// The row whose prefix equals `prefix` byte for byte (case-sensitive), or null.
const EntityEntry* find_entity(std::string_view prefix);

}  // namespace tarvenix
