// QSO evaluation: the checks in their fixed order, then entity and zone credit.
#include "evaluation/qso_evaluation.h"

#include <limits>

#include "countryfile/call_lookup.h"
#include "evaluation/band_rules.h"
#include "evaluation/contest_entities.h"
#include "evaluation/field_numbers.h"
#include "evaluation/mode_rules.h"
#include "evaluation/qso_date.h"
#include "records/contest.h"
#include "records/printf_format.h"

namespace tarvenix {

namespace {

constexpr int32_t united_states = 291;
constexpr int32_t canada = 1;
constexpr int32_t last_zone = 40;

// What the lines about one QSO show.
struct QsoText {
  int32_t ordinal;
  std::string_view call;
  std::string_view date;
};

// "WARN:\tQSO #%5d with CALL on DATE": the start of a rejection line; counts the warning.
void warn_about(RunLog& log, const QsoText& qso) {
  log.warn("WARN:\tQSO #%5d with %.*s on %.*s", qso.ordinal, print_length(qso.call),
           qso.call.data(), print_length(qso.date), qso.date.data());
}

void reject(RunLog& log, const QsoText& qso, const char* tail, int32_t& counter) {
  warn_about(log, qso);
  log.write(tail);
  ++counter;
}

// A rejection whose reason the band or mode rules left in `reason`; empties it.
void reject_with_reason(RunLog& log, const QsoText& qso, std::string& reason) {
  warn_about(log, qso);
  log.print(" %.*s\n", print_length(reason), reason.data());
  reason.clear();
}

void write_notes(RunLog& log, const std::optional<std::string>& notes) {
  if (notes) log.print(" (%s)", notes->c_str());
  log.write("\n");
}

void reject_bad_call(RunLog& log, const QsoText& qso, const BadCallEntry& entry, RunStats& stats) {
  warn_about(log, qso);
  if (entry.category == 'B') {
    log.write(" is a busted callsign");
    ++stats.busted_calls;
  } else if (entry.category == 'I') {
    log.write(" is an invalid callsign");
    ++stats.invalid_calls;
  } else {  // no counter of its own, but never without a trace
    log.write(" is in the bad-call list");
  }
  write_notes(log, entry.notes);
}

// Shows the DXCC field's text, or the code the country file gave.
void reject_bad_dxcc(RunLog& log, const QsoText& qso, const AdifField* dxcc, int32_t code,
                     RunStats& stats) {
  warn_about(log, qso);
  if (dxcc != nullptr) {
    log.print(" does not have a valid DXCC Entity Code (%.*s)\n", print_length(dxcc->value),
              dxcc->value.data());
  } else {
    log.print(" does not have a valid DXCC Entity Code (%d)\n", static_cast<int>(code));
  }
  ++stats.bad_dxcc_prefix;
}

bool is_missing(const AdifField* field) {
  return field == nullptr || field->value.empty();
}

// The country file's answer for the QSO's call: asked at most once, and only when the
// record lacks its DXCC or CQZ.
class CallCountry {
 public:
  CallCountry(const CountryFile* file, std::string_view call) : file_(file), call_(call) {}
  const CountryMatch& match() {
    if (file_ != nullptr) match_ = locate_call(*file_, call_);
    file_ = nullptr;
    return match_;
  }

 private:
  const CountryFile* file_;
  std::string_view call_;
  CountryMatch match_;
};

// Step 11's code before the special entity rules: the DXCC field's, else the country
// file's for the call, else 0.
struct EntityCode {
  int32_t code = 0;
  bool from_country_file = false;
};

EntityCode entity_code_of(const QsoRecord& record, CallCountry& country, RunStats& stats) {
  if (is_missing(record.dxcc) && country.match()) {
    ++stats.dxcc_from_country_file;
    return {country.match().dxcc, true};
  }
  return {record.dxcc == nullptr ? 0 : leading_int(record.dxcc->value), false};
}

bool is_maritime_mobile(std::string_view call) {
  const size_t slash = call.rfind('/');
  return slash != std::string_view::npos && call.substr(slash) == "/MM";
}

bool begins_with(const AdifField* field, char ch) {
  return field != nullptr && !field->value.empty() && field->value[0] == ch;
}

int16_t saturated_int16(int32_t value) {
  if (value > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
  if (value < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
  return static_cast<int16_t>(value);
}

// The year, the time (TIME_OFF may stand in for TIME_ON), maritime mobile, QSL_RCVD "I" and
// a call beginning with "!". True when the QSO was rejected.
bool rejected_by_record_checks(QsoRecord& record, const QsoDate& date, const QsoText& qso,
                               RunStats& stats, RunLog& log) {
  if (date.year != CONTEST_YEAR) {
    reject(log, qso, " is not for this year\n", stats.wrong_year);
    return true;
  }
  if (record.time_on == nullptr) {
    const AdifField* time_off = record.find("TIME_OFF");
    if (time_off == nullptr) {
      reject(log, qso, " has no QSO Time\n", stats.no_time);
      return true;
    }
    record.time_on = time_off;
    warn_about(log, qso);
    log.write(" is using TIME_OFF because TIME_ON was not found\n");
    ++stats.time_off_used;
  }
  if (is_maritime_mobile(qso.call)) {
    reject(log, qso, " is Maritime Mobile\n", stats.maritime_mobile);
    return true;
  }
  if (const AdifField* qsl_rcvd = record.qsl_rcvd; begins_with(qsl_rcvd, 'I')) {
    warn_about(log, qso);
    log.print(" has QSL_RCVD = %.*s\n", print_length(qsl_rcvd->value), qsl_rcvd->value.data());
    ++stats.invalid_calls;
    return true;
  }
  if (qso.call[0] == '!') {
    reject(log, qso, " has '!' as the first letter of the callsign.\n", stats.invalid_calls);
    return true;
  }
  return false;
}

// The code of the entity slot to credit (after the special entity rules), or 0 when the QSO
// was rejected for its DXCC code.
int32_t credited_entity_code(const QsoRecord& record, const EntityCode& logged,
                             const EntityCreditTable& entities, const QsoText& qso, RunStats& stats,
                             RunLog& log) {
  const int32_t code = logged.code;
  if (code == 0) {
    reject(log, qso, " does not have a DXCC Entity Code\n", stats.no_dxcc_prefix);
    return 0;
  }
  // Codes past the table (also the saturated huge ones) are not on the Scoresheet, and
  // neither is a contest entity whose row the Scoresheet lacks.
  const int32_t credited = has_special_entities(code) && entities.find(code) != nullptr
                               ? special_entity_code(record, code, qso.date, stats, log)
                               : code;
  if (entities.find(credited) == nullptr) {
    reject_bad_dxcc(log, qso, logged.from_country_file ? nullptr : record.dxcc, code, stats);
    return 0;
  }
  return credited;
}

// Step 14: the first accepted QSO of an entity, or a confirmed one replacing an
// unconfirmed one while the Confirmed box is set. True when the slot took this QSO.
bool credit_entity(CreditRecord& slot, const QsoRecord& record, const QsoText& qso, int band,
                   int mode, bool confirmed, bool prefer_confirmed, RunStats& stats, RunLog& log) {
  if (!slot.has_call()) {
    if (prefer_confirmed && confirmed) ++stats.entities_confirmed;
  } else if (prefer_confirmed && !slot.confirmed && confirmed) {
    log.note("DXCC:\tReplaced %s with %.*s because it is confirmed\n", slot.call,
             print_length(qso.call), qso.call.data());
    ++stats.entities_confirmed;
  } else {
    return false;
  }
  fill_credit(slot, record, band, mode);
  slot.confirmed = confirmed;
  return true;
}

// Step 16: the first accepted QSO of a zone; rule (a) prefers a confirmed QSO, rule (b) a
// Canadian QSO over a United States one (the zone is more likely to be right). The slot when
// it took this QSO, else null.
CreditRecord* credit_zone(ZoneCreditTable& zones, int zone, int32_t code, const QsoRecord& record,
                          const QsoText& qso, int band, int mode, bool confirmed,
                          bool prefer_confirmed, RunStats& stats, RunLog& log) {
  CreditRecord* slot = zones.find(zone);
  if (slot == nullptr) {
    slot = zones.create(zone);
    fill_credit(*slot, record, band, mode);
    slot->zone = static_cast<uint8_t>(zone);
    slot->code = code;
    slot->row = zone + zone_row_offset;
    slot->confirmed = confirmed;
    if (prefer_confirmed && confirmed) ++stats.zones_confirmed;
    return slot;
  }
  const int call_size = print_length(qso.call);
  if (prefer_confirmed && !slot->confirmed && confirmed) {
    log.note("WAZ:\t[%d] Replaced %s with %.*s because it is confirmed\n", zone, slot->call,
             call_size, qso.call.data());
    ++stats.zones_confirmed;
  } else if (slot->code == united_states && code == canada &&
             qso.call.find('/') == std::string_view::npos &&
             (!prefer_confirmed || (slot->confirmed && confirmed))) {
    log.note("WAZ:\t[%d] Replaced %s with %.*s because Zone is more likely to be correct", zone,
             slot->call, call_size, qso.call.data());
    log.write(prefer_confirmed && confirmed ? " (and it is confirmed)\n" : "\n");
  } else {
    return nullptr;
  }
  fill_credit(*slot, record, band, mode);
  slot->confirmed = confirmed;
  slot->code = code;
  return slot;
}

}  // namespace

void fill_credit(CreditRecord& credit, const QsoRecord& record, int band, int mode) {
  const QsoDate date = qso_date_of(record.qso_date != nullptr ? record.qso_date->value : "");
  credit.month = static_cast<int8_t>(date.month);
  credit.day = static_cast<int8_t>(date.day);
  const std::string_view time = record.time_on != nullptr ? record.time_on->value : "";
  const int32_t hhmm = time.size() == 6 ? leading_int(time) / 100 : leading_int(time);
  credit.time = saturated_int16(hhmm);
  credit.band = static_cast<int16_t>(band);
  credit.mode = static_cast<int8_t>(mode);
  credit.set_call(record.call != nullptr ? record.call->value : "");
}

bool is_confirmed(const QsoRecord& record) {
  return begins_with(record.qsl_rcvd, 'Y') || begins_with(record.lotw_qsl_rcvd, 'Y') ||
         begins_with(record.eqsl_qsl_rcvd, 'Y');
}

void evaluate_qso(QsoRecord& record, OperatorConfig& operator_config, EntityCreditTable& entities,
                  ZoneCreditTable& zones, RunStats& stats, RunLog& log,
                  const BadCallList& bad_calls, const CountryFile* country_file) {
  operator_config.message.clear();
  const int32_t ordinal = stats.qsos_read;
  // An empty call (or one that is empty as a C text) would credit a slot that is never
  // written and block it for good.
  if (record.call == nullptr || record.call->value.empty() || record.call->value[0] == '\0') {
    log.warn("WARN:\tQSO #%5d has no callsign\n", ordinal);
    ++stats.no_callsign;
    return;
  }
  const std::string_view call = record.call->value;
  if (record.qso_date == nullptr) {
    log.warn("WARN:\tQSO #%5d with %.*s has no QSO Date\n", ordinal, print_length(call),
             call.data());
    ++stats.no_date;
    return;
  }
  const QsoDate date = qso_date_of(record.qso_date->value);
  const DateText date_text(date);
  const QsoText qso{ordinal, call, date_text.view()};
  if (const BadCallEntry* entry = find_bad_call(bad_calls, call, qso.date)) {
    reject_bad_call(log, qso, *entry, stats);
    return;
  }
  if (rejected_by_record_checks(record, date, qso, stats, log)) return;

  const int band = check_band(record, operator_config, stats);
  if (band == 0) return reject_with_reason(log, qso, operator_config.message);
  const int mode = check_mode(record, operator_config, stats);
  if (mode == 0) return reject_with_reason(log, qso, operator_config.message);

  CallCountry country(country_file, call);
  const EntityCode logged = entity_code_of(record, country, stats);
  const int32_t code = credited_entity_code(record, logged, entities, qso, stats, log);
  if (code == 0) return;
  const bool confirmed = is_confirmed(record);
  const bool prefer_confirmed = operator_config.confirmed != 0;
  CreditRecord& entity = *entities.find(code);
  if (credit_entity(entity, record, qso, band, mode, confirmed, prefer_confirmed, stats, log)) {
    entity.from_country_file = logged.from_country_file;
  }

  const AdifField* cqz = record.cqz;
  const bool zone_from_country_file = is_missing(cqz) && country.match();
  if (cqz == nullptr && !zone_from_country_file) {
    return reject(log, qso, " does not have a CQ Zone\n", stats.no_cq_zone);
  }
  if (zone_from_country_file) ++stats.cq_zone_from_country_file;
  const int32_t zone = zone_from_country_file ? country.match().cq_zone : leading_int(cqz->value);
  if (zone < 1 || zone > last_zone) {
    warn_about(log, qso);
    log.print(" has an invalid CQ Zone (%d)\n", zone);
    ++stats.bad_cq_zone;
    return;
  }
  if (CreditRecord* slot = credit_zone(zones, zone, code, record, qso, band, mode, confirmed,
                                       prefer_confirmed, stats, log)) {
    slot->from_country_file = zone_from_country_file;
  }
}

}  // namespace tarvenix
