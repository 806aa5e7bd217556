// Reading the operator's whole ADIF log: every record goes to the evaluation; a file that
// cannot be read, a failed read or a log without any QSO leaves a text for the operator.
#pragma once

#include "badcalls/bad_call_list.h"
#include "scoresheet/run_log.h"
#include "scoresheet/run_records.h"
#include "ui/operator_config.h"
#include "ui/program_paths.h"

namespace tarvenix {

void read_adif_log(const ProgramPaths& paths, OperatorConfig& operator_config,
                   EntityCreditTable& entities, ZoneCreditTable& zones, RunInfo& info,
                   RunStats& stats, RunLog& log, const BadCallList& bad_calls);

}  // namespace tarvenix
