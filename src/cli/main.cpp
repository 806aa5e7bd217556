// tarvenix-convert: the conversion of the Windows program, from the command line.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "badcalls/bad_call_fetch.h"
#include "build_info.h"
#include "cli/options.h"
#include "cli/system_info.h"
#include "countryfile/country_file_read.h"
#include "records/contest.h"
#include "records/paths.h"
#include "records/text_compare.h"
#include "scoresheet/country_file_fetch.h"
#include "scoresheet/file_paths.h"
#include "scoresheet/run.h"
#include "ui/convert_checks.h"
#include "ui/entry_checks.h"
#include "ui/operator_config.h"
#include "ui/result_text.h"

using namespace tarvenix;

namespace {

// As many characters as the window's call-sign box and the stored record hold.
constexpr size_t callsign_limit = sizeof OperatorConfig::callsign - 1;

// Network failures go to standard error as they happen, the caption left out.
void print_failure(std::string_view, std::string_view text) {
  std::fprintf(stderr, "%.*s\n", int(text.size()), text.data());
}

// The same checks, in the same order and with the same texts, as the window's Convert.
std::optional<std::string> check_entries(const CliOptions& options, const ProgramPaths& paths) {
  if (options.callsign.empty()) return std::string("Callsign is required!");
  if (auto text = check_callsign(options.callsign)) return text;
  return check_convert_files(paths);
}

// The list is downloaded like the window does, unless a file or --offline says otherwise.
BadCallSource bad_call_source(const CliOptions& options, const std::string& output_path) {
  if (options.offline) return {};
  if (!options.bad_calls_file.empty()) {
    const std::string file = options.bad_calls_file;
    return {[file](RunLog& log) { return read_bad_calls_file(file, log); }, file, {}};
  }
  WebUrl url = bad_calls_url(default_web_endpoints());
  if (!options.bad_calls_url.empty()) url = *parse_web_url(options.bad_calls_url);
  return {[url, output_path](RunLog& log) {
            return fetch_bad_calls(Network{.tell = print_failure}, output_path, url, true, log);
          },
          {},
          local_bad_calls_path(output_path)};
}

WebUrl country_file_url(const CliOptions& options) {
  if (options.country_file_url.empty()) return default_web_endpoints().country_file_url;
  return *parse_web_url(options.country_file_url);
}

// A run refreshes the country file it finds unless it may not reach the network.
CountryFileRefresh run_country_refresh(const CliOptions& options) {
  if (options.offline) return {};
  return country_file_refresh(Network{.tell = print_failure}, country_file_url(options), true);
}

ConversionRequest request_from(const CliOptions& options, const ProgramPaths& paths) {
  ConversionRequest request;
  request.adif_path = paths.adif_path;
  request.scoresheet_path = paths.scoresheet_path;
  request.output_path = paths.output_path;
  // The window's call-sign box types upper case and at most 15 characters; the Scoresheet
  // gets the same.
  for (size_t i = 0; i < options.callsign.size() && i < callsign_limit; ++i) {
    request.callsign += ascii_upper(options.callsign[i]);
  }
  request.band = static_cast<Band>(options.band_index);
  request.mode = static_cast<ModeClass>(options.mode_index);
  request.prefer_confirmed = options.confirmed;
  request.country_file = {options.no_country_file, paths.country_file, paths.program_dir,
                          run_country_refresh(options)};
  request.bad_calls = bad_call_source(options, paths.output_path);
  request.results_page_wanted = !options.no_html;
  request.system = command_line_system_info();
  return request;
}

// --update-country-file: the copy a refresh keeps, replaced now by a checked download that
// is not older than the copy in use.
int update_country_file_now(const CliOptions& options) {
  const std::string program_dir = program_directory();
  const std::string in_use = default_country_file(program_dir);
  const Result<CountryFile> read = in_use.empty() ? Failure{} : read_country_file(in_use);
  const std::string target = refreshed_country_file(program_dir);
  const WebUrl url = country_file_url(options);
  const CountryFileUpdate update = update_country_file(
      Network{.tell = print_failure}, url, true, target, read.ok() ? read.value().version() : "");
  if (!update.problem.empty()) {
    std::fprintf(stderr, "The country file could not be updated from %s: %s\n",
                 country_file_source(url, true).c_str(), update.problem.c_str());
    return exit_failed;
  }
  std::printf("Country file %s, version %s\n", target.c_str(), update.version.c_str());
  return exit_converted;
}

}  // namespace

int main(int argc, char** argv) {
  const CliParse parse = parse_cli_options(std::vector<std::string>(argv + 1, argv + argc));
  if (!parse.options) {
    if (!parse.error.empty()) std::fprintf(stderr, "tarvenix-convert: %s\n", parse.error.c_str());
    std::fputs(cli_usage().c_str(), stderr);
    return exit_usage;
  }
  const CliOptions& options = *parse.options;
  if (options.help) {
    std::fputs(cli_usage().c_str(), stdout);
    return exit_converted;
  }
  if (options.version) {
    std::printf("tarvenix-convert %s for DX Tarvenix %d (commit %s, %s)\n", TARVENIX_VERSION,
                static_cast<int>(CONTEST_YEAR), TARVENIX_COMMIT, TARVENIX_BUILD_DAY);
    return exit_converted;
  }
  if (options.update_country_file) return update_country_file_now(options);

  ProgramPaths paths;
  paths.adif_path = options.adif_path;
  paths.scoresheet_path = options.scoresheet_path;
  paths.output_path = options.output_path;
  paths.country_file = options.country_file;
  paths.program_dir = program_directory();
  if (const auto problem = check_entries(options, paths)) {
    std::fprintf(stderr, "%s\n", problem->c_str());
    return exit_usage;
  }

  const ConversionResult result = run_conversion(request_from(options, paths));
  if (result.status != ConversionStatus::converted) {
    std::fprintf(stderr, "%s\n", result.message.c_str());
    return exit_failed;
  }
  std::fputs(written_counts_text(result).c_str(), stdout);
  std::printf("Run log: %s\n", result.run_log.c_str());
  if (!result.results_page.empty()) std::printf("Results page: %s\n", result.results_page.c_str());
  return exit_converted;
}
