// QSO evaluation: the checks in their fixed order, then entity and zone credit.
#include "evaluation/qso_evaluation.h"

#include <cstdio>
#include <limits>

#include "evaluation/band_rules.h"
#include "evaluation/call_country.h"
#include "evaluation/contest_entities.h"
#include "evaluation/field_numbers.h"
#include "evaluation/mode_rules.h"
#include "evaluation/qso_date.h"
#include "evaluation/subdivision_zones.h"
#include "evaluation/zone_evidence.h"
#include "records/contest.h"
#include "records/printf_format.h"
#include "records/text_compare.h"

namespace tarvenix {

namespace {

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

// A rejection by the band or mode rules, with the reason and the counter they give.
void reject_by_rule(ConversionRun& run, const QsoText& qso, const RuleAnswer& answer) {
  if (answer.counter != nullptr) ++(run.stats.*answer.counter);
  warn_about(run.log, qso);
  run.log.print(" %.*s\n", print_length(answer.reason), answer.reason.data());
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

// The QSO's entity code before the special entity rules: the DXCC field's, else the
// country file's for the call, else 0.
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
                               ConversionRun& run) {
  RunStats& stats = run.stats;
  RunLog& log = run.log;
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
int32_t credited_entity_code(const QsoRecord& record, const EntityCode& logged, const QsoText& qso,
                             ConversionRun& run) {
  const EntityCreditTable& entities = run.entities;
  RunStats& stats = run.stats;
  RunLog& log = run.log;
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

// An accepted QSO as the credit rules see it.
struct Candidate {
  const QsoRecord& record;
  const QsoText& text;
  int band;
  int mode;
  bool confirmed;
  bool prefer_confirmed;  // the Confirmed box

  void fill(CreditRecord& slot) const {
    fill_credit(slot, record, band, mode);
    slot.confirmed = confirmed;
  }
};

// The first accepted QSO of an entity, or a confirmed one replacing an unconfirmed one
// while the Confirmed box is set. True when the slot took this QSO.
bool credit_entity(CreditRecord& slot, const Candidate& qso, ConversionRun& run) {
  if (!slot.has_call()) {
    if (qso.prefer_confirmed && qso.confirmed) ++run.stats.entities_confirmed;
  } else if (qso.prefer_confirmed && !slot.confirmed && qso.confirmed) {
    run.log.note("DXCC:\tReplaced %s with %.*s because it is confirmed\n", slot.call,
                 print_length(qso.text.call), qso.text.call.data());
    ++run.stats.entities_confirmed;
  } else {
    return false;
  }
  qso.fill(slot);
  return true;
}

bool is_plain_call(std::string_view call) {
  for (char c : call) {
    if (!is_letter(c) && !is_digit(c)) return false;
  }
  return true;
}

// Keeps for the run log the country file's entity of a call of letters and digits alone
// (no portable form, nothing that is no call sign) whose logged DXCC the file does not share.
void note_file_entity(CreditRecord& slot, const EntityCode& logged, CallCountry& country,
                      std::string_view call) {
  slot.file_dxcc = 0;
  slot.file_entity.clear();
  if (logged.from_country_file || !is_plain_call(call)) return;
  if (const CountryMatch& match = country.match(); match && match.dxcc != logged.code) {
    slot.logged_dxcc = logged.code;
    slot.file_dxcc = match.dxcc;
    slot.file_entity = match.entity->name;
  }
}

void set_zone_source(CreditRecord& slot, const ZoneFinding& found) {
  slot.zone_source = found.source;
  const std::string_view more = found.more_text;
  std::snprintf(slot.zone_evidence, sizeof slot.zone_evidence, "%.*s%s%.*s",
                print_length(found.text), found.text.data(), more.empty() ? "" : " ",
                print_length(more), more.data());
}

// Whether a later QSO of a zone replaces the credited one, with the line that says why.
bool replaces_zone_credit(const CreditRecord& slot, const ZoneFinding& found, int32_t code,
                          const Candidate& qso, ConversionRun& run) {
  RunStats& stats = run.stats;
  RunLog& log = run.log;
  const int zone = found.zone;
  const std::string_view call = qso.text.call;
  const int call_size = print_length(call);
  if (qso.prefer_confirmed && !slot.confirmed && qso.confirmed) {
    log.note("WAZ:\t[%d] Replaced %s with %.*s because it is confirmed\n", zone, slot.call,
             call_size, call.data());
    ++stats.zones_confirmed;
  } else if (slot.code == united_states && code == canada &&
             call.find('/') == std::string_view::npos &&
             (!qso.prefer_confirmed || (slot.confirmed && qso.confirmed))) {
    log.note("WAZ:\t[%d] Replaced %s with %.*s because Zone is more likely to be correct", zone,
             slot.call, call_size, call.data());
    log.write(qso.prefer_confirmed && qso.confirmed ? " (and it is confirmed)\n" : "\n");
  } else if (slot.zone_source == ZoneSource::call && found.source != ZoneSource::call &&
             !(qso.prefer_confirmed && slot.confirmed && !qso.confirmed)) {
    log.note("WAZ:\t[%d] Replaced %s with %.*s because its zone is known from the log\n", zone,
             slot.call, call_size, call.data());
  } else {
    return false;
  }
  return true;
}

// The first accepted QSO of a zone; later, a confirmed QSO under the Confirmed box, a
// Canadian QSO over a United States one (the zone is more likely to be right), and a zone
// the record tells over one known only from the call.
void credit_zone(const ZoneFinding& found, int32_t code, const Candidate& qso, ConversionRun& run) {
  const int zone = found.zone;
  CreditRecord* slot = run.zones.find(zone);
  if (slot == nullptr) {
    slot = run.zones.create(zone);
    slot->zone = static_cast<uint8_t>(zone);
    slot->row = zone + zone_row_offset;
    if (qso.prefer_confirmed && qso.confirmed) ++run.stats.zones_confirmed;
  } else if (!replaces_zone_credit(*slot, found, code, qso, run)) {
    return;
  }
  qso.fill(*slot);
  slot->code = code;
  set_zone_source(*slot, found);
}

// The QSO's zone, or zone 0 when it is rejected for its CQ Zone. Without a country file only
// the log's CQZ counts.
ZoneFinding zone_of_qso(const QsoRecord& record, int32_t logged_code, CallCountry& country,
                        const QsoText& qso, ConversionRun& run) {
  RunStats& stats = run.stats;
  RunLog& log = run.log;
  ZoneFinding found;
  if (country.file() != nullptr) found = find_zone(record, logged_code, country);
  if (found.zone == 0) {
    if (record.cqz == nullptr) {
      reject(log, qso, " does not have a CQ Zone\n", stats.no_cq_zone);
      return {};
    }
    const int32_t zone = leading_int(record.cqz->value);
    if (zone < 1 || zone > last_zone) {
      warn_about(log, qso);
      log.print(" has an invalid CQ Zone (%d)\n", zone);
      ++stats.bad_cq_zone;
      return {};
    }
    found.zone = zone;
  }
  if (found.impossible) {
    const CountryEntity* entity = country.file()->entity_of(logged_code);
    warn_about(log, qso);
    log.print(": CQ Zone %d is not a zone of %s; it counts for zone %d\n", found.logged,
              entity != nullptr ? entity->name.c_str() : "its entity", found.zone);
    ++stats.impossible_cq_zone;
  }
  if (found.source == ZoneSource::call) ++stats.cq_zone_from_country_file;
  return found;
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

void evaluate_qso(QsoRecord& record, ConversionRun& run) {
  RunStats& stats = run.stats;
  RunLog& log = run.log;
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
  if (const BadCallEntry* entry = find_bad_call(run.bad_calls, call, qso.date)) {
    reject_bad_call(log, qso, *entry, stats);
    return;
  }
  if (rejected_by_record_checks(record, date, qso, run)) return;

  const RuleAnswer band = check_band(record, run.band);
  if (band.value == 0) return reject_by_rule(run, qso, band);
  const RuleAnswer mode = check_mode(record, run.mode);
  if (mode.value == 0) return reject_by_rule(run, qso, mode);

  CallCountry country(run.country_file, call);
  const EntityCode logged = entity_code_of(record, country, stats);
  const int32_t code = credited_entity_code(record, logged, qso, run);
  if (code == 0) return;
  const Candidate candidate{
      record, qso, band.value, mode.value, is_confirmed(record), run.prefer_confirmed};
  CreditRecord& entity = *run.entities.find(code);
  if (credit_entity(entity, candidate, run)) {
    entity.from_country_file = logged.from_country_file;
    note_file_entity(entity, logged, country, call);
  }

  const ZoneFinding found = zone_of_qso(record, logged.code, country, qso, run);
  if (found.zone != 0) credit_zone(found, code, candidate, run);
}

}  // namespace tarvenix
