// The results page written beside the workbook: one self-contained HTML file (inline CSS and
// SVG, no script, nothing fetched) showing the CQ Zones and the Scoresheet's entities as
// worked-confirmed, worked-unconfirmed or missing, and why QSOs were rejected.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "evaluation/conversion_run.h"
#include "records/atomic_file.h"

namespace tarvenix {

// The continent of an entity by its entity code; an empty text for one it does not know.
using ContinentOf = std::function<std::string(int32_t code)>;

// What the page shows; it only reads the run's records.
struct ResultsPage {
  std::string callsign;
  const ConversionRun& run;   // the tables, the counters and the Band, Mode and Confirmed choices
  std::string workbook_name;  // file names, shown on the page
  std::string run_log_name;
  ContinentOf continent_of;  // none: every entity in one group
};

std::string results_page_html(const ResultsPage& page);

// Writes the page into a synced temporary file beside `path`; the caller commits it.
Result<> prepare_results_page(AtomicFile& file, const std::string& path, const ResultsPage& page);

}  // namespace tarvenix
