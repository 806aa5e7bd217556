// What a band or mode rule says of a QSO: the band or mode class it is on, or why it is
// rejected, as the end of its run-log line and the counter the rejection raises.
#pragma once

#include <cstdint>
#include <string>

#include "records/run_records.h"

namespace tarvenix {

struct RuleAnswer {
  int value = 0;                         // the band index or mode class; 0: rejected
  std::string reason;                    // the text after the QSO on its "WARN:" line
  int32_t RunStats::*counter = nullptr;  // none: a rejection counted nowhere
};

}  // namespace tarvenix
