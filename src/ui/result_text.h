// What a finished conversion tells the operator, the same in the window and on the command
// line.
#pragma once

#include <string>

#include "scoresheet/run.h"

namespace tarvenix {

// "Wrote %3d  countries to %s\n" and "Wrote %3d   zones to %s\n" with the counts of the run
// and the saved workbook's file name.
std::string written_counts_text(const ConversionResult& result);

// "The results page is %s.\n" with the page's file name; empty when no page was written.
std::string results_page_text(const std::string& page_path);

}  // namespace tarvenix
