// How current a country file is, by the date its version carries ("yyyymmdd"): whether a
// copy is due for a refresh, whether it predates the contest year, and whether a downloaded
// file may take the place of the copy in use.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "countryfile/country_file_read.h"

namespace tarvenix {

// A copy whose version is more days older than today is refreshed; the publisher's new
// versions come every few weeks.
inline constexpr int country_file_refresh_days = 30;
// A download holding fewer entities is not the whole file (the real one has about 340).
inline constexpr size_t country_file_least_entities = 300;

// True when `version` is more than 30 days before the day of `now` (UTC), or is no date.
bool country_file_due(std::string_view version, std::time_t now);

// True when `version` is a date before the first of January of `year`.
bool country_file_before_year(std::string_view version, int year);

// Why `download` may not replace a copy of `in_use_version` (empty when there is none): it
// must be read without a line out of format, hold at least 300 entities and carry a version
// not older. The text follows "the download", e.g. "is empty"; empty when it may.
std::string country_download_problem(const Result<CountryFile>& download,
                                     std::string_view in_use_version);

}  // namespace tarvenix
