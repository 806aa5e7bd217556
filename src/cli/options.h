// The command line of tarvenix-convert. One table names every option; the parser, --help and
// the manual page are all read from it, so adding an option is one row (and its field).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvenix {

struct CliOptions {
  std::string adif_path;
  std::string scoresheet_path;
  std::string output_path;
  std::string callsign;
  int band_index = 0;  // position in the Band list; 0 "All"
  int mode_index = 0;  // position in the Mode list; 0 "All"
  bool confirmed = false;
  std::string bad_calls_file;  // a local list instead of the download
  std::string bad_calls_url;   // another address for the download
  bool offline = false;        // no bad-call list at all
  bool no_html = false;        // no results page
  std::string country_file;    // another country file than the one found
  bool no_country_file = false;
  std::string country_file_url;      // another address for the country file's refresh
  bool update_country_file = false;  // refresh it now instead of converting
  bool help = false;
  bool version = false;
};

// One option: a switch sets `flag`; an option with a `value` stores it in `text`, or its
// position among `names` (compared in any case) in `index`.
struct CliOptionSpec {
  const char* name;
  const char* value = nullptr;
  const char* help;
  bool required = false;  // shown in the synopsis
  std::string CliOptions::*text = nullptr;
  bool CliOptions::*flag = nullptr;
  int CliOptions::*index = nullptr;
  std::span<const std::string_view> names = {};
};

struct CliExitStatus {
  int status;
  const char* meaning;
};

inline constexpr int exit_converted = 0, exit_failed = 1, exit_usage = 2;

std::span<const CliOptionSpec> cli_options();
std::span<const CliExitStatus> cli_exit_statuses();
extern const char* const cli_description;

// The options, or the text of a usage error (empty when no argument was given at all).
struct CliParse {
  std::optional<CliOptions> options;
  std::string error;
};

CliParse parse_cli_options(const std::vector<std::string>& args);

// The text of --help: synopsis, description, every option, the exit statuses.
std::string cli_usage();

// The option's help, with the values it takes from a list ("... one of All, CW, Phone, Digital").
std::string cli_option_help(const CliOptionSpec& option);

}  // namespace tarvenix
