// Prints the built-in entity table as tab-separated rows (prefix, code, Country-list flag,
// name), so the Scoresheet template is made from the program's own table.
#include <cstdio>

#include "evaluation/entity_table.h"

int main() {
  for (const tarvenix::EntityEntry& entity : tarvenix::ENTITY_TABLE) {
    std::printf("%.*s\t%d\t%d\t%.*s\n", static_cast<int>(entity.prefix.size()),
                entity.prefix.data(), entity.code, entity.in_country_list,
                static_cast<int>(entity.name.size()), entity.name.data());
  }
  return 0;
}
