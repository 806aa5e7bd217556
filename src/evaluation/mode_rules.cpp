// Mode rules: MODE only (SUBMODE is not consulted).
#include "evaluation/mode_rules.h"

#include <algorithm>

#include "evaluation/field_numbers.h"
#include "records/format_text.h"
#include "records/printf_format.h"

namespace tarvenix {

namespace {

struct KeyedMode {
  uint64_t key;  // name_key of the name: one compare of a word decides nearly every step
  std::string_view name;
  int mode_class;
};

// Every mode of the three classes, ordered by key for a binary search.
constexpr auto modes_by_key = [] {
  std::array<KeyedMode, 1 + PHONE_MODES.size() + DIGITAL_MODES.size()> table{};
  size_t n = 0;
  table[n++] = {name_key("CW"), "CW", 1};
  for (std::string_view mode : PHONE_MODES) table[n++] = {name_key(mode), mode, 2};
  for (std::string_view mode : DIGITAL_MODES) table[n++] = {name_key(mode), mode, 3};
  std::sort(table.begin(), table.end(),
            [](const KeyedMode& a, const KeyedMode& b) { return a.key < b.key; });
  return table;
}();

}  // namespace

int mode_class_of(std::string_view mode) {
  const uint64_t key = name_key(mode);
  auto it = std::lower_bound(modes_by_key.begin(), modes_by_key.end(), key,
                             [](const KeyedMode& entry, uint64_t k) { return entry.key < k; });
  // Names longer than a key, or ending in zero bytes, share keys: the name decides.
  for (; it != modes_by_key.end() && it->key == key; ++it) {
    if (it->name == mode) return it->mode_class;
  }
  return 0;
}

RuleAnswer check_mode(const QsoRecord& record, ModeClass selected) {
  RuleAnswer answer;
  if (record.mode == nullptr) {
    answer.reason = "did not specify a Mode";
    return answer;
  }
  const std::string_view mode = record.mode->value;
  const int mode_class = mode_class_of(mode);
  if (mode_class == 0) {
    format_to(answer.reason, "has an invalid Mode (%.*s)", print_length(mode), mode.data());
    answer.counter = &RunStats::bad_mode;
  } else if (selected == ModeClass::all || static_cast<int>(selected) == mode_class) {
    answer.value = mode_class;
  } else {
    format_to(answer.reason, "%.*s is not for the selected Mode", print_length(mode), mode.data());
    answer.counter = &RunStats::not_selected_mode;
  }
  return answer;
}

}  // namespace tarvenix
