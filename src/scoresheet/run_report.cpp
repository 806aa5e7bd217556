// The run log's closing blocks.
#include "scoresheet/run_report.h"

#include <map>
#include <string>
#include <vector>

#include "evaluation/qso_date.h"
#include "records/contest.h"

namespace tarvenix {

namespace {

bool any_lines_written(const RunLog& log) {
  return log.notes != 0 || log.warnings != 0 || log.errors != 0;
}

// Worked but unconfirmed entities, once per prefix, in byte order of the prefix.
void write_unconfirmed_entities(RunLog& log, const EntityCreditTable& entities) {
  log.write(log_separator);
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
  log.write(log_separator);
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

void write_entity_credit_source(RunLog& log, int code, const CreditRecord& entity) {
  if (entity.from_country_file != 0) {
    note_credit(log, entity);
    log.print("DXCC %d (%s) from the country file\n", code, entity.name.c_str());
  } else if (entity.file_dxcc != 0) {
    note_credit(log, entity);
    log.print("the log says DXCC %d, the country file %d (%s)\n",
              static_cast<int>(entity.logged_dxcc), static_cast<int>(entity.file_dxcc),
              entity.file_entity.c_str());
  }
}

void write_zone_credit_source(RunLog& log, int zone, const CreditRecord& record) {
  constexpr const char* from[] = {nullptr, "its state", "its position", "its grid square"};
  if (record.zone_source == ZoneSource::call) {
    note_credit(log, record);
    log.print("CQ Zone %d from the country file\n", zone);
  } else if (record.zone_source != ZoneSource::log) {
    note_credit(log, record);
    log.print("CQ Zone %d from %s %s\n", zone, from[static_cast<size_t>(record.zone_source)],
              record.zone_evidence);
  }
}

// What the submission takes from the country file or from fields other than DXCC and CQZ,
// and where the file disagrees with the log, so that the operator can check it.
void write_credit_sources(RunLog& log, const EntityCreditTable& entities,
                          const ZoneCreditTable& zones) {
  for (int code = 1; code < entities.size(); ++code) {
    const CreditRecord* entity = entities.find(code);
    if (entity != nullptr && entity->has_call()) write_entity_credit_source(log, code, *entity);
  }
  for (int zone = 1; zone < zones.size(); ++zone) {
    const CreditRecord* record = zones.find(zone);
    if (record != nullptr && record->has_call()) write_zone_credit_source(log, zone, *record);
  }
}

}  // namespace

void write_counts_block(ConversionRun& run, const WrittenCounts& written) {
  RunLog& log = run.log;
  const RunStats& stats = run.stats;
  const EntityCreditTable& entities = run.entities;
  const ZoneCreditTable& zones = run.zones;
  write_credit_sources(log, entities, zones);
  if (any_lines_written(log)) log.write(log_separator);
  log.print("%5d QSO(s) were read from the ADIF file.\n", stats.qsos_read);
  if (stats.dxcc_from_country_file != 0) {
    log.print("%5d QSO(s) took their DXCC from the country file.\n", stats.dxcc_from_country_file);
  }
  if (stats.cq_zone_from_country_file != 0) {
    log.print("%5d QSO(s) took their CQ Zone from the country file.\n",
              stats.cq_zone_from_country_file);
  }
  if (stats.impossible_cq_zone != 0) {
    log.print("%5d QSO(s) had a CQ Zone that is not a zone of their entity.\n",
              stats.impossible_cq_zone);
  }
  if (run.prefer_confirmed) {
    log.print("%5d entities are confirmed.\n", stats.entities_confirmed);
    log.print("%5d zones    are confirmed.\n", stats.zones_confirmed);
    if (written.countries != stats.entities_confirmed) {
      write_unconfirmed_entities(log, entities);
    }
    if (written.zones != stats.zones_confirmed) {
      write_unconfirmed_zones(log, zones);
    }
  }
  write_summary(log, stats);
}

std::vector<SummaryCount> summary_counts(const RunStats& stats) {
  return {
      {stats.no_dxcc_prefix, "had no DXCC prefix"},
      {stats.bad_dxcc_prefix, "had a bad DXCC prefix"},
      {stats.no_cq_zone, "had no CQ zone"},
      {stats.bad_cq_zone, "had a bad CQ zone"},
      {stats.no_callsign, "had no Callsign"},
      {stats.no_date, "had no Date"},
      {stats.no_time, "had no Time"},
      {stats.time_off_used, "used TIME_OFF instead of TIME_ON"},
      {stats.maritime_mobile, "were Maritime Mobile"},
      {stats.busted_calls, "were marked as Busted Calls"},
      {stats.invalid_calls, "were marked as Invalid"},
      {stats.no_band_or_frequency, "had no Band or Frequency"},
      {stats.band_frequency_mismatch, "had mismatched Band and Frequency"},
      {stats.bad_band, "had a bad Band"},
      {stats.bad_frequency, "had a bad Frequency"},
      {stats.bad_mode, "had a bad Mode"},
      {stats.wrong_year, "were for the wrong Year"},
      {stats.not_selected_band, "were not for the selected Band"},
      {stats.not_selected_mode, "were not for the selected Mode"},
  };
}

void write_summary(RunLog& log, const RunStats& stats) {
  if (any_lines_written(log)) log.write(log_separator);
  bool any = false;
  for (const SummaryCount& line : summary_counts(stats)) {
    if (line.count == 0) continue;
    log.print("%5d QSO(s) %s.\n", line.count, line.reason);
    any = true;
  }
  if (any) log.write(log_separator);
}

}  // namespace tarvenix
