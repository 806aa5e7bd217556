// Getting the country file from its publisher: downloaded beside the copy a refresh keeps,
// checked whole (see country_download_problem), and only then renamed over it, so that an
// error page, a captive portal's page, a broken-off transfer or an older file never takes
// the place of the copy in use. Network failures are told at once through the network's
// teller.
#pragma once

#include <string>

#include "net/fetch.h"
#include "scoresheet/run_country_file.h"

namespace tarvenix {

struct CountryFileUpdate {
  std::string version;  // of the file stored
  std::string problem;  // why none was stored; empty when one was
};

// Downloads `url` into `target` (its folder made when missing), if the file is not older
// than `in_use_version`.
CountryFileUpdate update_country_file(const Network& network, const WebUrl& url, bool useHttps,
                                      const std::string& target, const std::string& in_use_version);

// A run's refresh through update_country_file.
CountryFileRefresh country_file_refresh(const Network& network, const WebUrl& url, bool useHttps);

// The URL as a request really asks it, for the operator.
std::string country_file_source(const WebUrl& url, bool useHttps);

}  // namespace tarvenix
