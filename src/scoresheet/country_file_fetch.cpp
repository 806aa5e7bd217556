// The country file's download: fetch_file with the country file's size limit and checks.
#include "scoresheet/country_file_fetch.h"

#include <filesystem>
#include <system_error>

#include "countryfile/country_file_age.h"
#include "net/file_fetch.h"

namespace tarvenix {

CountryFileUpdate update_country_file(const Network& network, const WebUrl& url, bool useHttps,
                                      const std::string& target,
                                      const std::string& in_use_version) {
  CountryFileUpdate update;
  if (target.empty()) return {{}, "there is no folder to keep it in"};
  std::error_code ignored;  // a folder that cannot be made fails the download's file
  std::filesystem::create_directories(std::filesystem::path(target).parent_path(), ignored);
  Network bounded = network;
  bounded.limits.body_bytes = int64_t(country_file_limit);
  std::string refusal;
  const FileCheck check = [&](const std::string& downloaded) {
    const Result<CountryFile> read = read_country_file(downloaded);
    refusal = country_download_problem(read, in_use_version);
    if (read.ok()) update.version = read.value().version();
    return refusal.empty();
  };
  const FileFetch fetch = fetch_file(bounded, url, useHttps, target, check);
  update.problem = fetch_problem(fetch, "the download " + refusal);
  if (!update.problem.empty()) update.version.clear();
  return update;
}

CountryFileRefresh country_file_refresh(const Network& network, const WebUrl& url, bool useHttps) {
  auto fetch = [network, url, useHttps](const std::string& target, const std::string& in_use) {
    return update_country_file(network, url, useHttps, target, in_use).problem;
  };
  return {fetch, country_file_source(url, useHttps)};
}

std::string country_file_source(const WebUrl& url, bool useHttps) {
  return request_url(resolve_request_target(url.server, useHttps), url.path);
}

}  // namespace tarvenix
