// Special entity rules, parent entity by parent entity; the first rule that applies decides.
#include "evaluation/contest_entities.h"

#include <array>
#include <initializer_list>

#include "evaluation/call_patterns.h"
#include "records/printf_format.h"

namespace tarvenix {

namespace {

constexpr int32_t austria = 206, italy = 248, svalbard = 259, scotland = 279, turkey = 390;
constexpr int32_t itu_vienna = 901, shetland = 902, african_italy = 903, sicily = 904,
                  bear_island = 905, european_turkey = 906;

bool is_one_of(std::string_view text, std::initializer_list<std::string_view> set) {
  for (std::string_view s : set) {
    if (text == s) return true;
  }
  return false;
}

int32_t austria_rule(std::string_view call) {
  if (call.substr(0, 2) == "4U") {
    if (is_vienna_call(call) || is_one_of(call, {"4U0R", "4U1A", "4U1XMAS", "4U2U", "4UNR"}))
      return itu_vienna;
    return austria;
  }
  return is_one_of(call, {"4Y1A", "C7A"}) ? itu_vienna : austria;
}

int32_t italy_rule(std::string_view call, const AdifField* iota, std::string_view date_text,
                   RunLog& log) {
  if (is_sicily_call(call)) return sicily;
  if (is_sicily_portable_call(call)) {
    log.warn("WARN:\t%.*s on %.*s is not Sicily\n", print_length(call), call.data(),
             print_length(date_text), date_text.data());
    return italy;
  }
  if (has_african_italy_prefix(call) || has_african_italy_suffix(call)) return african_italy;
  if (iota == nullptr) return italy;
  if (is_one_of(iota->value, {"EU-025", "EU-166"})) return sicily;
  if (is_one_of(iota->value, {"AF-018", "AF-019"})) return african_italy;
  return italy;
}

int32_t turkey_rule(std::string_view call, const AdifField* iota) {
  if ((iota != nullptr && iota->value == "EU-186") || is_european_turkey_call(call) ||
      is_ym1_call(call) || has_call_area_1_suffix(call))
    return european_turkey;
  return turkey;
}

// The entity a QSO of `parent` belongs to when its IOTA reference is `reference`.
int32_t island_rule(const AdifField* iota, std::string_view reference, int32_t island,
                    int32_t parent) {
  return iota != nullptr && iota->value == reference ? island : parent;
}

// The tail of the "INFO:" line of each contest entity, 901 to 906.
constexpr std::array<const char*, 6> move_names = {
    "ITU Vienna Int'l Center", "Shetland Is.", "African Italy", "Sicily", "Bear Is.",
    "European Turkey"};

}  // namespace

bool has_special_entities(int32_t code) {
  return code == austria || code == italy || code == svalbard || code == scotland || code == turkey;
}

int32_t special_entity_code(const QsoRecord& record, int32_t code, std::string_view date_text,
                            const RunStats& stats, RunLog& log) {
  const std::string_view call = record.call == nullptr ? std::string_view("") : record.call->value;
  const AdifField* iota = record.find("IOTA");
  int32_t result = code;
  switch (code) {
    case austria:
      result = austria_rule(call);
      break;
    case italy:
      result = italy_rule(call, iota, date_text, log);
      break;
    case svalbard:
      result = island_rule(iota, "EU-027", bear_island, svalbard);
      break;
    case scotland:
      result = island_rule(iota, "EU-012", shetland, scotland);
      break;
    case turkey:
      result = turkey_rule(call, iota);
      break;
    default:
      break;
  }
  if (result >= itu_vienna && result <= european_turkey) {
    log.note("INFO:\tQSO #%5d with %.*s on %.*s is %s\n", stats.qsos_read, print_length(call),
             call.data(), print_length(date_text), date_text.data(),
             move_names[static_cast<size_t>(result - itu_vienna)]);
  }
  return result;
}

}  // namespace tarvenix
