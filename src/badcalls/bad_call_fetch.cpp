// The bad-call list of a run: download beside the local copy, check, replace, load; or fall
// back to the last good copy.
#include "badcalls/bad_call_fetch.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "net/file_fetch.h"
#include "records/paths.h"

namespace tarvenix {
namespace {

// A backslash is an ordinary character of a file name on POSIX systems.
#ifdef _WIN32
constexpr std::string_view folder_separators = path_separators;
#else
constexpr std::string_view folder_separators = "/";
#endif

std::filesystem::path as_path(const std::string& name) {
  return std::filesystem::path(name);
}

// True when `path` holds a JSON object the loader accepts; nothing is logged.
bool holds_bad_call_list(const std::string& path) {
  BadCallList scratch;
  RunLog quiet;  // never opened: writes go nowhere
  return load_bad_calls(scratch, path, quiet).ok();
}

// The modification date of a file as "YYYY-MM-DD" (UTC), or nothing when it has none.
std::optional<std::string> file_date(const std::string& path) {
  std::error_code error;
  auto written = std::filesystem::last_write_time(as_path(path), error);
  if (error) return std::nullopt;
  auto days = std::chrono::floor<std::chrono::days>(std::chrono::file_clock::to_sys(written));
  std::chrono::year_month_day date(days);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(date.year()), unsigned(date.month()),
                unsigned(date.day()));
  return std::string(text);
}

// Downloads the list over the local copy; the reason when no usable list came, else "".
// Network failures have been shown to the operator by then.
std::string download_list(const Network& network, const WebUrl& url, bool useHttps,
                          const std::string& local) {
  return fetch_problem(fetch_file(network, url, useHttps, local, holds_bad_call_list),
                       "not a JSON object");
}

// Goes on with the last good copy after `reason` kept a new list away.
BadCallList fall_back_to_local_copy(const std::string& local, const std::string& reason,
                                    RunLog& log) {
  BadCallList list;
  auto date = file_date(local);
  if (date && holds_bad_call_list(local)) {
    log.warn("WARN:\tNo new bad-call list (%s); using the copy of %s in %s\n", reason.c_str(),
             date->c_str(), local.c_str());
    load_bad_calls(list, local, log);
  } else {
    log.warn("WARN:\tNo new bad-call list (%s) and no local copy; no bad-call list was used\n",
             reason.c_str());
  }
  log.write(log_separator);
  return list;
}

}  // namespace

WebUrl bad_calls_url(const WebEndpoints& endpoints) {
  return WebUrl{endpoints.contestHost, std::string(bad_calls_path)};
}

std::string local_bad_calls_path(const std::string& output_path) {
  return folder_of(output_path, folder_separators) + bad_calls_file_name;
}

BadCallList fetch_bad_calls(const Network& network, const std::string& output_path,
                            const WebUrl& url, bool useHttps, RunLog& log) {
  std::string local = local_bad_calls_path(output_path);
  std::string reason = download_list(network, url, useHttps, local);
  if (!reason.empty()) return fall_back_to_local_copy(local, reason, log);

  BadCallList list;
  if (!load_bad_calls(list, local, log).ok()) {
    return fall_back_to_local_copy(local, "not a JSON object", log);
  }
  log.write(log_separator);
  return list;
}

BadCallList fetch_bad_calls(const Network& network, const std::string& output_path,
                            const WebEndpoints& endpoints, RunLog& log) {
  return fetch_bad_calls(network, output_path, bad_calls_url(endpoints), endpoints.useHttps, log);
}

BadCallList read_bad_calls_file(const std::string& path, RunLog& log) {
  BadCallList list;
  if (!load_bad_calls(list, path, log).ok()) {
    log.warn("WARN:\tbad json file: %s\n", path.c_str());
    return BadCallList();
  }
  log.write(log_separator);
  return list;
}

}  // namespace tarvenix
