// Parsing the command line of tarvenix-convert. Band and mode take the names of the window's
// lists, in any case.
#include "cli/options.h"

#include <cctype>

#include "evaluation/band_rules.h"
#include "evaluation/mode_rules.h"
#include "net/web_endpoints.h"
#include "records/text_compare.h"

namespace tarvenix {

const char* const CLI_USAGE =
    "usage: tarvenix-convert --adif LOG --scoresheet TEMPLATE --output OUT.xlsx --call CALL\n"
    "                        [--band All|160M|80M|60M|40M|30M|20M|17M|15M|12M|10M|6M|4M|2M]\n"
    "                        [--mode All|CW|Phone|Digital] [--confirmed]\n"
    "                        [--bad-calls FILE | --bad-calls-url URL | --offline] [--no-html]\n"
    "                        [--country-file FILE | --no-country-file]\n"
    "       tarvenix-convert --help | --version\n"
    "\n"
    "Checks every QSO of the ADIF log, writes the credited entities and CQ Zones into a copy\n"
    "of the DX Tarvenix Scoresheet template, and writes a run log and a results page (.html)\n"
    "beside the output.\n"
    "  --confirmed        prefer confirmed QSOs\n"
    "  --bad-calls FILE   read the bad-call list from FILE instead of downloading it\n"
    "  --bad-calls-url URL  download the bad-call list from URL (http or https)\n"
    "  --offline          use no bad-call list\n"
    "  --no-html          write no results page\n"
    "  --country-file FILE  take the DXCC and CQ Zone of QSOs that have none from FILE\n"
    "                     (cty.csv; default: the one beside the program, else the installed\n"
    "                     /usr/share/hamradio-files/cty.csv)\n"
    "  --no-country-file  leave QSOs without DXCC or CQZ uncredited\n";

namespace {

template <typename Names>
int index_of(const Names& names, const std::string& value) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (equal_ignoring_case(names[i], value)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

CliParse parse_cli_options(const std::vector<std::string>& args) {
  CliOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      continue;
    }
    if (arg == "--version") {
      options.version = true;
      continue;
    }
    if (arg == "--confirmed") {
      options.confirmed = true;
      continue;
    }
    if (arg == "--offline") {
      options.offline = true;
      continue;
    }
    if (arg == "--no-html") {
      options.no_html = true;
      continue;
    }
    if (arg == "--no-country-file") {
      options.no_country_file = true;
      continue;
    }
    std::string* text = nullptr;
    if (arg == "--adif")
      text = &options.adif_path;
    else if (arg == "--scoresheet")
      text = &options.scoresheet_path;
    else if (arg == "--output")
      text = &options.output_path;
    else if (arg == "--call")
      text = &options.callsign;
    else if (arg == "--bad-calls")
      text = &options.bad_calls_file;
    else if (arg == "--bad-calls-url")
      text = &options.bad_calls_url;
    else if (arg == "--country-file")
      text = &options.country_file;
    const bool takes_name = arg == "--band" || arg == "--mode";
    if (text == nullptr && !takes_name) return {std::nullopt, "unknown option: " + arg};
    if (i + 1 == args.size()) return {std::nullopt, arg + " needs a value"};
    const std::string& value = args[++i];
    if (text != nullptr) {
      *text = value;
    } else if (arg == "--band") {
      options.band_index = index_of(BAND_NAMES, value);
      if (options.band_index < 0) return {std::nullopt, "unknown band: " + value};
    } else {
      options.mode_index = index_of(MODE_CLASS_NAMES, value);
      if (options.mode_index < 0) return {std::nullopt, "unknown mode: " + value};
    }
  }
  const int sources =
      options.offline + !options.bad_calls_file.empty() + !options.bad_calls_url.empty();
  if (sources > 1) {
    return {std::nullopt, "--bad-calls, --bad-calls-url and --offline exclude each other"};
  }
  if (options.no_country_file && !options.country_file.empty()) {
    return {std::nullopt, "--country-file and --no-country-file exclude each other"};
  }
  if (!options.bad_calls_url.empty() && !parse_web_url(options.bad_calls_url)) {
    return {std::nullopt, "not an http or https URL: " + options.bad_calls_url};
  }
  return {options, {}};
}

}  // namespace tarvenix
