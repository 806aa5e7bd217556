// Choosing, refreshing and reading the run's country file. A file that cannot be used never
// stops the run: QSOs without DXCC or CQZ are then rejected as without a country file.
#include "scoresheet/run_country_file.h"

#include "countryfile/country_file_age.h"
#include "records/contest.h"

namespace tarvenix {
namespace {

struct CopyInUse {
  std::string path;  // empty: none found
  Result<CountryFile> read;

  std::string version() const { return read.ok() ? read.value().version() : std::string(); }
  std::string shown_version() const {
    return version().empty() ? std::string("unknown") : version();
  }
};

CopyInUse read_copy(std::string path) {
  if (path.empty()) return {std::move(path), Failure{}};
  return {path, read_country_file(path)};
}

// A found copy that is due is replaced by a newer one if the refresh can get it; else the run
// goes on with the copy it has.
void refresh_if_due(CopyInUse& copy, const CountryFileChoice& choice, std::time_t now,
                    RunLog& log) {
  const CountryFileRefresh& refresh = choice.refresh;
  if (!refresh.fetch || !country_file_due(copy.version(), now)) return;
  const std::string target = refreshed_country_file(choice.program_dir);
  const std::string problem = refresh.fetch(target, copy.version());
  if (problem.empty()) {
    copy = read_copy(target);
    return;
  }
  const std::string in_use =
      copy.path.empty() ? "none" : copy.path + " (version " + copy.shown_version() + ")";
  log.warn("WARN:\tThe country file could not be refreshed from %s (%s); using %s\n",
           refresh.source.c_str(), problem.c_str(), in_use.c_str());
}

void describe_copy(const CopyInUse& copy, RunLog& log) {
  const CountryFile& file = copy.read.value();
  log.print("INFO:\tCountry file %s, version %s, %d entities\n", copy.path.c_str(),
            copy.shown_version().c_str(), static_cast<int>(file.entity_count()));
  if (file.bad_lines() != 0) {
    log.warn(
        "WARN:\tCountry file %s: %d line(s) not in its format left out, the first is line %d\n",
        copy.path.c_str(), file.bad_lines(), file.first_bad_line());
  }
  if (country_file_before_year(file.version(), CONTEST_YEAR)) {
    log.warn(
        "WARN:\tThe country file %s (version %s) is older than the contest year; calls issued "
        "since may be missed\n",
        copy.path.c_str(), file.version().c_str());
  }
}

}  // namespace

std::optional<CountryFile> open_run_country_file(const CountryFileChoice& choice, std::time_t now,
                                                 RunLog& log) {
  if (choice.off) return std::nullopt;
  const bool named = !choice.named_file.empty();
  CopyInUse copy = read_copy(named ? choice.named_file : default_country_file(choice.program_dir));
  if (!named) refresh_if_due(copy, choice, now, log);
  std::optional<CountryFile> result;
  if (copy.path.empty()) {
    log.warn("WARN:\tNo country file found; QSOs without DXCC or CQZ cannot be credited\n");
  } else if (!copy.read.ok()) {
    log.warn("WARN:\tCountry file %s %s; QSOs without DXCC or CQZ cannot be credited\n",
             copy.path.c_str(), copy.read.reason().c_str());
  } else {
    describe_copy(copy, log);
    result = std::move(copy.read).value();
  }
  log.write(log_separator);
  return result;
}

}  // namespace tarvenix
