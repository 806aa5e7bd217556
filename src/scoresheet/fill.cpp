// The cells of the Scoresheet that a conversion writes.
#include "scoresheet/fill.h"

#include <string_view>

#include "evaluation/band_rules.h"
#include "evaluation/mode_rules.h"
#include "records/contest.h"

namespace tarvenix {

namespace {

enum Column { DAY = 3, MONTH = 4, TIME = 5, BAND = 6, MODE = 7, CALL = 8 };
constexpr int title_row = 1, year_column = 4, callsign_column = 6;

std::string_view mode_class_name(int mode) {
  if (mode < 0 || mode >= static_cast<int>(MODE_CLASS_NAMES.size())) return MODE_CLASS_NAMES[0];
  return MODE_CLASS_NAMES[static_cast<size_t>(mode)];
}

int fill_table(Sheet& sheet, const CreditTable& table) {
  int written = 0;
  for (int slot = 0; slot < table.size(); ++slot) {
    const CreditRecord* record = table.find(slot);
    if (record != nullptr && record->has_call()) written += write_credit_row(sheet, *record);
  }
  return written;
}

}  // namespace

int write_credit_row(Sheet& sheet, const CreditRecord& record) {
  const int was_empty = sheet.read_number(record.row, DAY) == 0 ? 1 : 0;
  sheet.write_number(record.row, DAY, record.day);
  sheet.write_number(record.row, MONTH, record.month);
  sheet.write_number(record.row, TIME, record.time);
  sheet.write_number(record.row, BAND, band_metres(record.band));
  sheet.write_text(record.row, MODE, mode_class_name(record.mode));
  sheet.write_text(record.row, CALL, record.call_text());
  return was_empty;
}

WrittenCounts fill_scoresheet(Sheet& sheet, std::string_view callsign,
                              const EntityCreditTable& entities, const ZoneCreditTable& zones) {
  sheet.write_number(title_row, year_column, CONTEST_YEAR);
  sheet.write_text(title_row, callsign_column, callsign);
  WrittenCounts written;
  written.countries = fill_table(sheet, entities);
  written.zones = fill_table(sheet, zones);
  return written;
}

}  // namespace tarvenix
