// The entity map: which entities the Scoresheet lists, and in which row. Read once per run
// from the first sheet into the entity credit table; afterwards a filled slot means "on the
// Scoresheet, in this row" and an empty slot means "does not count".
#pragma once

#include "records/run_log.h"
#include "records/run_records.h"
#include "records/sheet.h"

namespace tarvenix {

inline constexpr int entity_list_first_row = 5;  // the sixth row of the sheet
inline constexpr int entity_prefix_column = 1;
inline constexpr int entity_name_column = 2;

// Walks the entity list from row 5 down to the "ZS8" row, then on to a "Change History"
// row, creating one empty-call record per entity found (the first row naming an entity
// wins). Unknown prefixes and neighbouring duplicates are reported in the run log.
void read_entity_map(const Sheet& sheet, EntityCreditTable& entities, RunLog& log);

}  // namespace tarvenix
