// The command line of tarvenix-convert.
#pragma once

#include <optional>
#include <string>
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
  bool help = false;
  bool version = false;
};

// The options, or the text of a usage error.
struct CliParse {
  std::optional<CliOptions> options;
  std::string error;
};

CliParse parse_cli_options(const std::vector<std::string>& args);

extern const char* const CLI_USAGE;

}  // namespace tarvenix
