// Writes the manual page tarvenix-convert(1) to standard output, from the same option table
// and texts as --help; the build runs it, so the page and the program never disagree.
#include <cstdio>
#include <string>

#include "build_info.h"
#include "cli/options.h"
#include "records/contest.h"

using namespace tarvenix;

namespace {

// Text as troff prints it literally: backslashes and hyphens escaped, no line taken for a
// request.
std::string roff(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\')
      out += "\\e";
    else if (c == '-')
      out += "\\-";
    else
      out += c;
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

// What the options table cannot tell: the files, and how the program is used.
const char* const files_section = R"(.SH FILES
.TP
.I LOG
The ADIF log, read only.
.TP
.I TEMPLATE
The Scoresheet template, read only; the output is a copy of it.
.TP
.I OUT.xlsx
The filled Scoresheet, replaced if it exists.
.TP
.I OUT.log
The run log: every QSO that was not credited and why, and the counts.
.TP
.I OUT.html
The results page: the credited CQ Zones and entities, confirmed or not, those still needed,
and why QSOs were rejected (not with
.BR \-\-no\-html ).
.TP
.I cty.csv
The country file that gives QSOs without DXCC or CQZ their entity and zone: the one named with
.BR \-\-country\-file ,
else the refreshed copy
.I $XDG_DATA_HOME/tarvenix/cty.csv
(without XDG_DATA_HOME
.IR ~/.local/share/tarvenix/cty.csv ),
else the one beside the program, else
.IR /usr/share/hamradio\-files/cty.csv .
A run that is not
.B \-\-offline
first refreshes the copy it found when its version is more than 30 days old, and
.B \-\-update\-country\-file
refreshes it at once; the refreshed copy is only kept once it has been checked.
.TP
.I all\-bad\-calls.json
The downloaded bad\-call list, kept in the folder of
.IR OUT.xlsx .
)";

// The examples, the first one's output named after the contest year (%d).
const char* const examples_section = R"(.SH EXAMPLES
Convert a log, downloading the bad\-call list:
.PP
.RS
.nf
tarvenix\-convert \-\-adif mylog.adi \e
    \-\-scoresheet "Scoresheet v1.0.xlsx" \e
    \-\-output W1AW\-%d.xlsx \-\-call W1AW
.fi
.RE
.PP
Only confirmed CW QSOs on 20 m, with a bad\-call list kept from an earlier run:
.PP
.RS
.nf
tarvenix\-convert \-\-adif mylog.adi \e
    \-\-scoresheet "Scoresheet v1.0.xlsx" \e
    \-\-output cw20.xlsx \-\-call W1AW \-\-band 20M \-\-mode CW \e
    \-\-confirmed \-\-bad\-calls all\-bad\-calls.json
.fi
.RE
)";

void print_synopsis() {
  std::puts(".SH SYNOPSIS\n.B tarvenix\\-convert");
  for (const CliOptionSpec& option : cli_options()) {
    if (option.required) std::printf(".BI %s \" %s\"\n", roff(option.name).c_str(), option.value);
  }
  std::puts(".RI [ OPTION ]...\n.br\n.B tarvenix\\-convert\n.BR \\-\\-help \" | \" \\-\\-version");
  std::puts(
      ".br\n.B tarvenix\\-convert \\-\\-update\\-country\\-file\n.RB [ \\-\\-country\\-file\\-url\n"
      ".IR URL ]");
}

void print_options() {
  std::puts(".SH OPTIONS");
  for (const CliOptionSpec& option : cli_options()) {
    std::puts(".TP");
    if (option.value != nullptr) {
      std::printf(".BI %s \" %s\"\n", roff(option.name).c_str(), option.value);
    } else {
      std::printf(".B %s\n", roff(option.name).c_str());
    }
    std::printf("%s.\n", roff(cli_option_help(option)).c_str());
  }
}

void print_exit_statuses() {
  std::puts(".SH EXIT STATUS");
  for (const CliExitStatus& exit : cli_exit_statuses()) {
    std::printf(".TP\n.B %d\n%s.\n", exit.status, roff(exit.meaning).c_str());
  }
}

}  // namespace

int main() {
  const int year = CONTEST_YEAR;
  std::printf(".TH TARVENIX\\-CONVERT 1 %s \"tarvenix %s for DX Tarvenix %d\" \"User Commands\"\n",
              TARVENIX_BUILD_DAY, TARVENIX_VERSION, year);
  std::puts(".SH NAME\ntarvenix\\-convert \\- convert an ADIF log into the DX Tarvenix Scoresheet");
  print_synopsis();
  std::printf(
      ".SH DESCRIPTION\n%s\n.PP\nThis edition is for DX Tarvenix %d: only QSOs of %d count.\n",
      roff(cli_description).c_str(), year, year);
  print_options();
  print_exit_statuses();
  std::fputs(files_section, stdout);
  std::printf(examples_section, year);
  return 0;
}
