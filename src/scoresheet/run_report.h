// The end of the run log: the counts block, the lists of worked but unconfirmed entities
// and zones, and the summary of the counters.
#pragma once

#include <cstdint>
#include <vector>

#include "evaluation/conversion_run.h"
#include "records/run_log.h"
#include "records/run_records.h"
#include "scoresheet/fill.h"

namespace tarvenix {

// The lines of the credits the country file gave, the counts block, then the summary;
// written into the run's log after the Scoresheet has been filled.
void write_counts_block(ConversionRun& run, const WrittenCounts& written);

// One counter of the summary and the words that follow "%5d QSO(s) " on its line.
struct SummaryCount {
  int32_t count;
  const char* reason;
};

// Every counter of the summary in the order of its lines, zero ones included; the results
// page draws the same numbers.
std::vector<SummaryCount> summary_counts(const RunStats& stats);

// One line for every counter that is not zero, between separators.
void write_summary(RunLog& log, const RunStats& stats);

}  // namespace tarvenix
