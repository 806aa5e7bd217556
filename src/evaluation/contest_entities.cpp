// Special entity rules, parent entity by parent entity; the first rule that applies decides.
#include "evaluation/contest_entities.h"

#include <array>
#include <initializer_list>

#include "evaluation/call_patterns.h"
#include "records/printf_format.h"

namespace tarvenix {

namespace {

constexpr int32_t kAustria = 206, kItaly = 248, kSvalbard = 259, kScotland = 279, kTurkey = 390;
constexpr int32_t kItuVienna = 901, kShetland = 902, kAfricanItaly = 903, kSicily = 904,
                  kBearIsland = 905, kEuropeanTurkey = 906;

bool is_one_of(std::string_view text, std::initializer_list<std::string_view> set) {
  for (std::string_view s : set) {
    if (text == s) return true;
  }
  return false;
}

int32_t austria_rule(std::string_view call) {
  if (call.substr(0, 2) == "4U") {
    if (is_vienna_call(call) || is_one_of(call, {"4U0R", "4U1A", "4U1XMAS", "4U2U", "4UNR"}))
      return kItuVienna;
    return kAustria;
  }
  return is_one_of(call, {"4Y1A", "C7A"}) ? kItuVienna : kAustria;
}

int32_t italy_rule(std::string_view call, const AdifField* iota, std::string_view date_text,
                   RunLog& log) {
  if (is_sicily_call(call)) return kSicily;
  if (is_sicily_portable_call(call)) {
    log.warn("WARN:\t%.*s on %.*s is not Sicily\n", print_length(call), call.data(),
             print_length(date_text), date_text.data());
    return kItaly;
  }
  if (has_african_italy_prefix(call) || has_african_italy_suffix(call)) return kAfricanItaly;
  if (iota == nullptr) return kItaly;
  if (is_one_of(iota->value, {"EU-025", "EU-166"})) return kSicily;
  if (is_one_of(iota->value, {"AF-018", "AF-019"})) return kAfricanItaly;
  return kItaly;
}

int32_t turkey_rule(std::string_view call, const AdifField* iota) {
  if ((iota != nullptr && iota->value == "EU-186") || is_european_turkey_call(call) ||
      is_ym1_call(call) || has_call_area_1_suffix(call))
    return kEuropeanTurkey;
  return kTurkey;
}

// The entity a QSO of `parent` belongs to when its IOTA reference is `reference`.
int32_t island_rule(const AdifField* iota, std::string_view reference, int32_t island,
                    int32_t parent) {
  return iota != nullptr && iota->value == reference ? island : parent;
}

// The tail of the "INFO:" line of each contest entity, 901 to 906.
constexpr std::array<const char*, 6> kMoveNames = {
    "ITU Vienna Int'l Center", "Shetland Is.", "African Italy", "Sicily", "Bear Is.",
    "European Turkey"};

}  // namespace

bool has_special_entities(int32_t code) {
  return code == kAustria || code == kItaly || code == kSvalbard || code == kScotland ||
         code == kTurkey;
}

int32_t special_entity_code(const QsoRecord& record, int32_t code, std::string_view date_text,
                            const RunStats& stats, RunLog& log) {
  const std::string_view call = record.call == nullptr ? std::string_view("") : record.call->value;
  const AdifField* iota = record.find("IOTA");
  int32_t result = code;
  switch (code) {
    case kAustria:
      result = austria_rule(call);
      break;
    case kItaly:
      result = italy_rule(call, iota, date_text, log);
      break;
    case kSvalbard:
      result = island_rule(iota, "EU-027", kBearIsland, kSvalbard);
      break;
    case kScotland:
      result = island_rule(iota, "EU-012", kShetland, kScotland);
      break;
    case kTurkey:
      result = turkey_rule(call, iota);
      break;
    default:
      break;
  }
  if (result >= kItuVienna && result <= kEuropeanTurkey) {
    log.note("INFO:\tQSO #%5d with %.*s on %.*s is %s\n", stats.qsos_read, print_length(call),
             call.data(), print_length(date_text), date_text.data(),
             kMoveNames[static_cast<size_t>(result - kItuVienna)]);
  }
  return result;
}

}  // namespace tarvenix
