// tarvenix-convert: the conversion of the Windows program, from the command line.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "badcalls/bad_call_fetch.h"
#include "build_info.h"
#include "cli/options.h"
#include "cli/system_info.h"
#include "records/contest.h"
#include "records/paths.h"
#include "records/text_compare.h"
#include "scoresheet/file_paths.h"
#include "scoresheet/run.h"
#include "ui/convert_checks.h"
#include "ui/entry_checks.h"
#include "ui/result_text.h"

using namespace tarvenix;

namespace {

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

OperatorConfig operator_from(const CliOptions& options) {
  OperatorConfig config;
  // The window's call-sign box types upper case; the Scoresheet gets the same.
  for (size_t i = 0; i < options.callsign.size() && i + 1 < sizeof config.callsign; ++i) {
    config.callsign[i] = ascii_upper(options.callsign[i]);
  }
  config.band_index = static_cast<uint8_t>(options.band_index);
  config.mode_index = static_cast<uint8_t>(options.mode_index);
  config.confirmed = options.confirmed ? 1 : 0;
  config.country_file_off = options.no_country_file ? 1 : 0;
  return config;
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

  OperatorConfig config = operator_from(options);
  const BadCallSource bad_calls = bad_call_source(options, paths.output_path);
  RunOutputs outputs;
  outputs.results_page_wanted = !options.no_html;
  if (run_conversion(config, paths, command_line_system_info(), bad_calls, outputs) != 0) {
    std::fprintf(stderr, "%s\n", config.message.c_str());
    return exit_failed;
  }
  std::fputs(written_counts_text(config, paths.output_path).c_str(), stdout);
  std::printf("Run log: %s\n", run_log_path(paths.output_path).c_str());
  if (!outputs.results_page.empty())
    std::printf("Results page: %s\n", outputs.results_page.c_str());
  return exit_converted;
}
