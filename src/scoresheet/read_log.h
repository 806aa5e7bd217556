// Reading the operator's whole ADIF log: every record goes to the evaluation; a file that
// cannot be read, a failed read or a log without any QSO leaves a text for the operator.
#pragma once

#include <string>

#include "evaluation/conversion_run.h"

namespace tarvenix {

// Every record of the log at `adif_path` evaluated into the run; the text for the operator
// when the file cannot be read, a read fails or the log holds no QSO, else "".
std::string read_adif_log(const std::string& adif_path, ConversionRun& run);

}  // namespace tarvenix
