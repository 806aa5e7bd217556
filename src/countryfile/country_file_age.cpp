// The version's date read with the standard calendar; the checks of a download.
#include "countryfile/country_file_age.h"

#include <charconv>
#include <chrono>
#include <optional>

namespace tarvenix {
namespace {

using std::chrono::sys_days;

std::optional<sys_days> version_date(std::string_view version) {
  unsigned value = 0;
  const char* end = version.data() + version.size();
  if (version.size() != 8 || std::from_chars(version.data(), end, value).ptr != end) {
    return std::nullopt;
  }
  const std::chrono::year_month_day date{std::chrono::year(int(value / 10000)),
                                         std::chrono::month(value / 100 % 100),
                                         std::chrono::day(value % 100)};
  if (!date.ok()) return std::nullopt;
  return sys_days(date);
}

}  // namespace

bool country_file_due(std::string_view version, std::time_t now) {
  const auto date = version_date(version);
  const auto today =
      std::chrono::floor<std::chrono::days>(std::chrono::system_clock::from_time_t(now));
  return !date || (today - *date).count() > country_file_refresh_days;
}

bool country_file_before_year(std::string_view version, int year) {
  const auto date = version_date(version);
  return date && *date < sys_days(std::chrono::year(year) / std::chrono::January / 1);
}

std::string country_download_problem(const Result<CountryFile>& download,
                                     std::string_view in_use_version) {
  if (!download.ok()) return download.reason();
  const CountryFile& file = download.value();
  if (file.bad_lines() != 0) {
    return "has a line not in the country file format (line " +
           std::to_string(file.first_bad_line()) + ")";
  }
  if (file.entity_count() < country_file_least_entities) {
    return "holds only " + std::to_string(file.entity_count()) + " entities";
  }
  if (!version_date(file.version())) return "carries no version";
  if (file.version() < in_use_version) {
    return "is older (version " + file.version() + ") than the copy in use (version " +
           std::string(in_use_version) + ")";
  }
  return {};
}

}  // namespace tarvenix
