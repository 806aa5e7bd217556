// The run log's closing blocks.
#include "scoresheet/run_report.h"

#include <map>
#include <string>

#include "evaluation/qso_date.h"
#include "records/contest.h"

namespace tarvenix {

namespace {

bool any_lines_written(const RunLog& log) {
  return log.notes != 0 || log.warnings != 0 || log.errors != 0;
}

// Worked but unconfirmed entities, once per prefix, in byte order of the prefix.
void write_unconfirmed_entities(RunLog& log, const EntityCreditTable& entities) {
  log.write(LOG_SEPARATOR);
  log.write("The following entities were worked but are not confirmed:\n\n");
  std::map<std::string, std::string> by_prefix;  // std::string compares as unsigned bytes
  for (int code = 1; code < entities.size(); ++code) {
    const CreditRecord* entity = entities.find(code);
    if (entity != nullptr && entity->has_call() && entity->confirmed == 0) {
      by_prefix.emplace(entity->prefix, entity->name);  // the first of a prefix stays
    }
  }
  for (const auto& [prefix, name] : by_prefix)
    log.print("%-5s  %s\n", prefix.c_str(), name.c_str());
}

void write_unconfirmed_zones(RunLog& log, const ZoneCreditTable& zones) {
  log.write(LOG_SEPARATOR);
  log.write("The following CQ Zones were worked but are not confirmed:\n\n");
  for (int zone = 1; zone < zones.size(); ++zone) {
    const CreditRecord* record = zones.find(zone);
    if (record != nullptr && record->has_call() && record->confirmed == 0) {
      log.print("Zone %2u\n", static_cast<unsigned>(zone));
    }
  }
}

// The credited QSO's call and date, as the evaluation's lines show them.
void note_credit(RunLog& log, const CreditRecord& credit) {
  const DateText date(QsoDate{CONTEST_YEAR, credit.month, credit.day});
  log.note("INFO:\t%s on %.*s: ", credit.call, print_length(date.view()), date.view().data());
}

// What the submission takes from the country file, so that the operator can check it.
void write_country_file_credits(RunLog& log, const EntityCreditTable& entities,
                                const ZoneCreditTable& zones) {
  for (int code = 1; code < entities.size(); ++code) {
    const CreditRecord* entity = entities.find(code);
    if (entity == nullptr || !entity->has_call() || entity->from_country_file == 0) continue;
    note_credit(log, *entity);
    log.print("DXCC %d (%s) from the country file\n", code, entity->name.c_str());
  }
  for (int zone = 1; zone < zones.size(); ++zone) {
    const CreditRecord* record = zones.find(zone);
    if (record == nullptr || !record->has_call() || record->from_country_file == 0) continue;
    note_credit(log, *record);
    log.print("CQ Zone %d from the country file\n", zone);
  }
}

}  // namespace

void write_counts_block(RunLog& log, const RunStats& stats, const OperatorConfig& operator_config,
                        const EntityCreditTable& entities, const ZoneCreditTable& zones) {
  write_country_file_credits(log, entities, zones);
  if (any_lines_written(log)) log.write(LOG_SEPARATOR);
  log.print("%5d QSO(s) were read from the ADIF file.\n", stats.qsos_read);
  if (stats.dxcc_from_country_file != 0) {
    log.print("%5d QSO(s) took their DXCC from the country file.\n", stats.dxcc_from_country_file);
  }
  if (stats.cq_zone_from_country_file != 0) {
    log.print("%5d QSO(s) took their CQ Zone from the country file.\n",
              stats.cq_zone_from_country_file);
  }
  if (operator_config.confirmed != 0) {
    log.print("%5d entities are confirmed.\n", stats.entities_confirmed);
    log.print("%5d zones    are confirmed.\n", stats.zones_confirmed);
    if (operator_config.countries_written != stats.entities_confirmed) {
      write_unconfirmed_entities(log, entities);
    }
    if (operator_config.zones_written != stats.zones_confirmed) {
      write_unconfirmed_zones(log, zones);
    }
  }
  write_summary(log, stats);
}

void write_summary(RunLog& log, const RunStats& stats) {
  if (any_lines_written(log)) log.write(LOG_SEPARATOR);
  struct Line {
    int32_t count;
    const char* format;
  };
  const Line lines[] = {
      {stats.no_dxcc_prefix, "%5d QSO(s) had no DXCC prefix.\n"},
      {stats.bad_dxcc_prefix, "%5d QSO(s) had a bad DXCC prefix.\n"},
      {stats.no_cq_zone, "%5d QSO(s) had no CQ zone.\n"},
      {stats.bad_cq_zone, "%5d QSO(s) had a bad CQ zone.\n"},
      {stats.no_callsign, "%5d QSO(s) had no Callsign.\n"},
      {stats.no_date, "%5d QSO(s) had no Date.\n"},
      {stats.no_time, "%5d QSO(s) had no Time.\n"},
      {stats.time_off_used, "%5d QSO(s) used TIME_OFF instead of TIME_ON.\n"},
      {stats.maritime_mobile, "%5d QSO(s) were Maritime Mobile.\n"},
      {stats.busted_calls, "%5d QSO(s) were marked as Busted Calls.\n"},
      {stats.invalid_calls, "%5d QSO(s) were marked as Invalid.\n"},
      {stats.no_band_or_frequency, "%5d QSO(s) had no Band or Frequency.\n"},
      {stats.band_frequency_mismatch, "%5d QSO(s) had mismatched Band and Frequency.\n"},
      {stats.bad_band, "%5d QSO(s) had a bad Band.\n"},
      {stats.bad_frequency, "%5d QSO(s) had a bad Frequency.\n"},
      {stats.bad_mode, "%5d QSO(s) had a bad Mode.\n"},
      {stats.wrong_year, "%5d QSO(s) were for the wrong Year.\n"},
      {stats.not_selected_band, "%5d QSO(s) were not for the selected Band.\n"},
      {stats.not_selected_mode, "%5d QSO(s) were not for the selected Mode.\n"},
  };
  bool any = false;
  for (const Line& line : lines) {
    if (line.count == 0) continue;
    log.print(line.format, line.count);
    any = true;
  }
  if (any) log.write(LOG_SEPARATOR);
}

}  // namespace tarvenix
