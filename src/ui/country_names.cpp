// The entity names of the Country list: every entity of the entity table marked for the
// list, in table order (the list control sorts them).
#include "evaluation/entity_table.h"
#include "ui/window_lists.h"

namespace tarvenix {

std::vector<std::string_view> country_list_names() {
  std::vector<std::string_view> names;
  for (const EntityEntry& entity : ENTITY_TABLE) {
    if (entity.in_country_list == 1) names.push_back(entity.name);
  }
  return names;
}

}  // namespace tarvenix
