// The counts of a finished conversion.
#include "ui/result_text.h"

#include "records/format_text.h"
#include "records/paths.h"

namespace tarvenix {

std::string written_counts_text(const ConversionResult& result) {
  const std::string name = file_name_of(result.workbook);
  const WrittenCounts written = result.written.value_or(WrittenCounts{});
  return format_text("Wrote %3d  countries to %s\n", written.countries, name.c_str()) +
         format_text("Wrote %3d   zones to %s\n", written.zones, name.c_str());
}

std::string results_page_text(const std::string& page_path) {
  if (page_path.empty()) return {};
  return format_text("The results page is %s.\n", file_name_of(page_path).c_str());
}

}  // namespace tarvenix
