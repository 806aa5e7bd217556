// Choosing and reading the run's country file. A file that cannot be used never stops the
// run: QSOs without DXCC or CQZ are then rejected as without a country file.
#include "scoresheet/run_country_file.h"

#include "countryfile/country_file_read.h"

namespace tarvenix {

std::optional<CountryFile> open_run_country_file(const OperatorConfig& operator_config,
                                                 const ProgramPaths& paths, RunLog& log) {
  if (operator_config.country_file_off != 0) return std::nullopt;
  const std::string path =
      paths.country_file.empty() ? default_country_file(paths.program_dir) : paths.country_file;
  std::optional<CountryFile> result;
  if (path.empty()) {
    log.warn("WARN:\tNo country file found; QSOs without DXCC or CQZ cannot be credited\n");
  } else if (CountryFileRead read = read_country_file(path); !read.usable) {
    log.warn("WARN:\tCountry file %s %s; QSOs without DXCC or CQZ cannot be credited\n",
             path.c_str(), read.problem.c_str());
  } else {
    result = std::move(read.file);
    log.print("INFO:\tCountry file %s, version %s, %d entities\n", path.c_str(),
              result->version().empty() ? "unknown" : result->version().c_str(),
              static_cast<int>(result->entity_count()));
    if (result->bad_lines() != 0) {
      log.warn(
          "WARN:\tCountry file %s: %d line(s) not in its format left out, the first is "
          "line %d\n",
          path.c_str(), result->bad_lines(), result->first_bad_line());
    }
  }
  log.write(log_separator);
  return result;
}

}  // namespace tarvenix
