// Writing the result into the Scoresheet: the year and call sign in the title row, and one
// row per credited entity and CQ Zone.
#pragma once

#include "records/operator_config.h"
#include "records/run_records.h"
#include "scoresheet/workbook.h"

namespace tarvenix {

// Writes day, month, time, band, mode class and call into the record's row. 1 when the
// row was empty before (its day cell read as the number 0), else 0.
int write_credit_row(Sheet& sheet, const CreditRecord& record);

// The title row, then every credited entity and zone; sets the operator's
// countries_written and zones_written.
void fill_scoresheet(Sheet& sheet, OperatorConfig& operator_config,
                     const EntityCreditTable& entities, const ZoneCreditTable& zones);

}  // namespace tarvenix
