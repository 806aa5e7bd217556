// The options of tarvenix-convert and their parsing. Band and mode take the names of the
// window's lists, in any case.
#include "cli/options.h"

#include "evaluation/band_rules.h"
#include "evaluation/mode_rules.h"
#include "net/web_endpoints.h"
#include "records/text_compare.h"

namespace tarvenix {

namespace {

constexpr CliOptionSpec option_table[] = {
    {.name = "--adif",
     .value = "LOG",
     .help = "the ADIF log to convert",
     .required = true,
     .text = &CliOptions::adif_path},
    {.name = "--scoresheet",
     .value = "TEMPLATE",
     .help = "the contest's Scoresheet template (.xlsx); it is only read",
     .required = true,
     .text = &CliOptions::scoresheet_path},
    {.name = "--output",
     .value = "OUT.xlsx",
     .help = "the filled Scoresheet to write; the run log OUT.log is written beside it",
     .required = true,
     .text = &CliOptions::output_path},
    {.name = "--call",
     .value = "CALL",
     .help = "the operator's call sign",
     .required = true,
     .text = &CliOptions::callsign},
    {.name = "--band",
     .value = "BAND",
     .help = "count only QSOs on this band (default All),",
     .index = &CliOptions::band_index,
     .names = BAND_NAMES},
    {.name = "--mode",
     .value = "MODE",
     .help = "count only QSOs in this mode (default All),",
     .index = &CliOptions::mode_index,
     .names = MODE_CLASS_NAMES},
    {.name = "--confirmed", .help = "prefer confirmed QSOs", .flag = &CliOptions::confirmed},
    {.name = "--bad-calls",
     .value = "FILE",
     .help = "read the bad-call list from FILE instead of downloading it",
     .text = &CliOptions::bad_calls_file},
    {.name = "--bad-calls-url",
     .value = "URL",
     .help = "download the bad-call list from URL (http or https) instead of the contest's "
             "server",
     .text = &CliOptions::bad_calls_url},
    {.name = "--offline",
     .help = "use no bad-call list at all, and refresh no country file",
     .flag = &CliOptions::offline},
    {.name = "--no-html",
     .help = "write no results page (OUT.html beside OUT.xlsx)",
     .flag = &CliOptions::no_html},
    {.name = "--country-file",
     .value = "FILE",
     .help = "take the DXCC and CQ Zone of QSOs that have none from FILE (cty.csv; default: "
             "the refreshed copy in the user's data folder, else the one beside the program, "
             "else /usr/share/hamradio-files/cty.csv); FILE is never refreshed",
     .text = &CliOptions::country_file},
    {.name = "--no-country-file",
     .help = "leave QSOs without DXCC or CQZ uncredited",
     .flag = &CliOptions::no_country_file},
    {.name = "--country-file-url",
     .value = "URL",
     .help = "refresh the country file from URL (http or https) instead of its publisher; a run "
             "not --offline refreshes a copy more than 30 days old first",
     .text = &CliOptions::country_file_url},
    {.name = "--update-country-file",
     .help = "download the country file now, check it and keep it for later runs, print its "
             "version and exit (1 when it failed a check)",
     .flag = &CliOptions::update_country_file},
    {.name = "--help", .help = "print this help and exit", .flag = &CliOptions::help},
    {.name = "--version",
     .help = "print the version and the commit it was built from, and exit",
     .flag = &CliOptions::version},
};

constexpr CliExitStatus exit_statuses[] = {
    {exit_converted, "converted (also for --help and --version)"},
    {exit_failed, "the conversion failed; the reason is on standard error and in the run log"},
    {exit_usage, "a usage error, or a check of the call sign or the files failed"},
};

constexpr size_t help_column = 24, line_width = 79;

const CliOptionSpec* find_option(const std::string& name) {
  for (const CliOptionSpec& option : option_table) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

int index_of(std::span<const std::string_view> names, const std::string& value) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (equal_ignoring_case(names[i], value)) return static_cast<int>(i);
  }
  return -1;
}

// An error text, or empty when the value was taken.
std::string apply_value(const CliOptionSpec& option, const std::string& value,
                        CliOptions& options) {
  if (option.text != nullptr) {
    options.*option.text = value;
    return {};
  }
  const int index = index_of(option.names, value);
  if (index < 0) return "unknown " + lower_ascii(option.value) + ": " + value;
  options.*option.index = index;
  return {};
}

std::string check_combination(const CliOptions& options) {
  const int sources =
      options.offline + !options.bad_calls_file.empty() + !options.bad_calls_url.empty();
  if (sources > 1) return "--bad-calls, --bad-calls-url and --offline exclude each other";
  if (options.update_country_file && options.offline) {
    return "--update-country-file and --offline exclude each other";
  }
  if (options.no_country_file && !options.country_file.empty()) {
    return "--country-file and --no-country-file exclude each other";
  }
  for (const std::string* url : {&options.bad_calls_url, &options.country_file_url}) {
    if (!url->empty() && !parse_web_url(*url)) return "not an http or https URL: " + *url;
  }
  return {};
}

// `text` broken at spaces into lines of at most line_width, the first starting at `column`
// of a line that already holds that much, the others indented to it.
std::string wrapped(const std::string& text, size_t column) {
  std::string out;
  size_t width = column;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const size_t length = end - start;
    if (width > column && width + 1 + length > line_width) {
      out += '\n';
      out.append(column, ' ');
      width = column;
    } else if (width > column) {
      out += ' ';
      ++width;
    }
    out.append(text, start, length);
    width += length;
    start = end + 1;
  }
  return out + "\n";
}

}  // namespace

std::span<const CliOptionSpec> cli_options() {
  return option_table;
}

std::span<const CliExitStatus> cli_exit_statuses() {
  return exit_statuses;
}

const char* const cli_description =
    "Checks every QSO of the ADIF log as the Windows program does, writes the DXCC entities "
    "and CQ Zones that earn the credit into a copy of the DX Tarvenix Scoresheet template, and "
    "writes a run log beside it that explains every rejection, and a results page that shows "
    "what was credited. QSOs without a DXCC or CQZ field take them from the country file.";

std::string cli_option_help(const CliOptionSpec& option) {
  std::string help = option.help;
  for (size_t i = 0; i < option.names.size(); ++i) {
    help += i == 0 ? " one of " : ", ";
    help += option.names[i];
  }
  return help;
}

CliParse parse_cli_options(const std::vector<std::string>& args) {
  if (args.empty()) return {std::nullopt, {}};
  CliOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const CliOptionSpec* option = find_option(args[i]);
    if (option == nullptr) return {std::nullopt, "unknown option: " + args[i]};
    if (option->flag != nullptr) {
      options.*option->flag = true;
      continue;
    }
    if (i + 1 == args.size()) return {std::nullopt, args[i] + " needs a value"};
    if (std::string error = apply_value(*option, args[++i], options); !error.empty()) {
      return {std::nullopt, error};
    }
  }
  if (std::string error = check_combination(options); !error.empty()) {
    return {std::nullopt, error};
  }
  return {options, {}};
}

std::string cli_usage() {
  std::string synopsis = "tarvenix-convert";
  for (const CliOptionSpec& option : option_table) {
    if (option.required) synopsis += std::string(" ") + option.name + " " + option.value;
  }
  std::string text = "usage: " + wrapped(synopsis + " [OPTION]...", 7);
  text += "       tarvenix-convert --help | --version\n";
  text += "       tarvenix-convert --update-country-file [--country-file-url URL]\n\n";
  text += wrapped(cli_description, 0);
  text += "\nOptions:\n";
  for (const CliOptionSpec& option : option_table) {
    std::string head = std::string("  ") + option.name;
    if (option.value != nullptr) head += std::string(" ") + option.value;
    text += head;
    if (head.size() + 2 > help_column) text += '\n';
    text.append(head.size() + 2 > help_column ? help_column : help_column - head.size(), ' ');
    text += wrapped(cli_option_help(option), help_column);
  }
  text += "\nExit status:\n";
  for (const CliExitStatus& exit : exit_statuses) {
    text += "  " + std::to_string(exit.status);
    text.append(help_column - 3, ' ');
    text += wrapped(exit.meaning, help_column);
  }
  return text;
}

}  // namespace tarvenix
