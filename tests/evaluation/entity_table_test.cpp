// The entity table: its size, order, codes and flags, and the lookup by prefix.
#include <doctest/doctest.h>

#include <set>
#include <string>

#include "evaluation/entity_table.h"

using namespace tarvenix;

TEST_CASE("rows in byte order of prefix, unique codes, each found by its own prefix") {
  std::set<int32_t> codes;
  for (size_t i = 0; i < ENTITY_TABLE.size(); ++i) {
    const EntityEntry& row = ENTITY_TABLE[i];
    CAPTURE(row.prefix);
    CHECK((row.code > 0 && row.code <= 906));
    CHECK(codes.insert(row.code).second);
    if (i > 0) CHECK(ENTITY_TABLE[i - 1].prefix < row.prefix);
    CHECK(find_entity(row.prefix) == &row);
    if (row.name.empty()) CHECK(row.in_country_list == 0);  // deleted entities are not listed
  }
}
