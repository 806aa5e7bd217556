// Reading the entity list of the Scoresheet.
#include "evaluation/entity_map.h"

#include <string>
#include <string_view>

#include "evaluation/entity_table.h"
#include "evaluation/field_numbers.h"
#include "records/printf_format.h"

namespace tarvenix {

namespace {

constexpr size_t prefix_room = 31;  // the prefix cell is read into 32 bytes with the terminator
constexpr std::string_view last_entity_prefix = "ZS8";
constexpr std::string_view trailer_end = "Change History";

// The prefix word of a second-column cell: its first 31 bytes, up to the first space,
// hyphen or comma.
std::string_view prefix_word(std::string_view cell) {
  cell = cell.substr(0, prefix_room);
  return cell.substr(0, cell.find_first_of(" -,"));
}

std::string_view text_or_empty(const Sheet& sheet, int row, int col) {
  return sheet.read_text(row, col).value_or(std::string_view(""));
}

void map_row(const Sheet& sheet, int row, std::string_view word, EntityCreditTable& entities,
             RunLog& log) {
  const EntityEntry* entry = find_entity(word);
  if (entry == nullptr) {
    log.error("ERROR:\t%.*s was not found in the ADIF map!\n", print_length(word), word.data());
    return;
  }
  if (entities.find(entry->code) != nullptr) return;  // the first row naming it wins
  CreditRecord* record = entities.create(entry->code);
  record->code = entry->code;
  record->row = row;
  record->name = text_or_empty(sheet, row, entity_name_column);
  record->prefix = word;
}

}  // namespace

void read_entity_map(const Sheet& sheet, EntityCreditTable& entities, RunLog& log) {
  const int last_row = sheet.last_row();
  std::string previous;  // the prefix word of the row above
  bool in_entity_list = true;
  for (int row = entity_list_first_row; row < last_row; ++row) {
    if (!in_entity_list) {
      if (text_or_empty(sheet, row, entity_name_column) == trailer_end) break;
      continue;
    }
    const std::string_view word = prefix_word(text_or_empty(sheet, row, entity_prefix_column));
    // An empty word (a row without a prefix) is no duplicate; it is reported as not found.
    if (!word.empty() && word == previous)
      log.warn("WARN:\tDuplicate prefix: %.*s\n", print_length(word), word.data());
    previous = word;
    map_row(sheet, row, word, entities, log);
    if (word == last_entity_prefix) in_entity_list = false;
  }
}

}  // namespace tarvenix
