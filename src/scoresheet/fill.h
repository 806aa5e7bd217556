// Writing the result into the Scoresheet: the year and call sign in the title row, and one
// row per credited entity and CQ Zone.
#pragma once

#include <cstdint>
#include <string_view>

#include "records/run_records.h"
#include "scoresheet/workbook.h"

namespace tarvenix {

// How many entity and zone rows a conversion wrote into the Scoresheet.
struct WrittenCounts {
  int32_t countries = 0;
  int32_t zones = 0;
};

// Writes day, month, time, band, mode class and call into the record's row. 1 when the
// row was empty before (its day cell read as the number 0), else 0.
int write_credit_row(Sheet& sheet, const CreditRecord& record);

// The title row, then every credited entity and zone.
WrittenCounts fill_scoresheet(Sheet& sheet, std::string_view callsign,
                              const EntityCreditTable& entities, const ZoneCreditTable& zones);

}  // namespace tarvenix
