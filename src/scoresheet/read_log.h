// Reading the operator's whole ADIF log: every record goes to the evaluation; a file that
// cannot be read, a failed read or a log without any QSO leaves a text for the operator.
#pragma once

#include "badcalls/bad_call_list.h"
#include "countryfile/country_file.h"
#include "records/operator_config.h"
#include "records/program_paths.h"
#include "records/run_log.h"
#include "records/run_records.h"

namespace tarvenix {

void read_adif_log(const ProgramPaths& paths, OperatorConfig& operator_config,
                   EntityCreditTable& entities, ZoneCreditTable& zones, RunStats& stats,
                   RunLog& log, const BadCallList& bad_calls,
                   const CountryFile* country_file = nullptr);

}  // namespace tarvenix
