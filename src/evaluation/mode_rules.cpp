// Mode rules: MODE only (SUBMODE is not consulted).
#include "evaluation/mode_rules.h"

#include <algorithm>

#include "evaluation/field_text.h"

namespace tarvenix {

int mode_class_of(std::string_view mode) {
  if (mode == "CW") return 1;
  if (std::find(PHONE_MODES.begin(), PHONE_MODES.end(), mode) != PHONE_MODES.end()) return 2;
  // std::string_view compares bytes as unsigned, the table's order.
  const auto it = std::lower_bound(DIGITAL_MODES.begin(), DIGITAL_MODES.end(), mode);
  if (it != DIGITAL_MODES.end() && *it == mode) return 3;
  return 0;
}

int check_mode(const QsoRecord& record, OperatorConfig& operator_config, RunStats& stats) {
  std::string& reason = operator_config.message;
  reason.clear();
  if (record.mode == nullptr) {
    reason = "did not specify a Mode";
    return 0;
  }
  const std::string_view mode = record.mode->value;
  const int mode_class = mode_class_of(mode);
  if (mode_class == 0) {
    format_to(reason, "has an invalid Mode (%.*s)", print_length(mode), mode.data());
    ++stats.bad_mode;
    return 0;
  }
  if (operator_config.mode_index == 0 || operator_config.mode_index == mode_class)
    return mode_class;
  format_to(reason, "%.*s is not for the selected Mode", print_length(mode), mode.data());
  ++stats.not_selected_mode;
  return 0;
}

}  // namespace tarvenix
