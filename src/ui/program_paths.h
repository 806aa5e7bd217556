// The paths the program works with, set at start-up and by the file commands.
#pragma once

#include <string>

namespace tarvenix {

struct ProgramPaths {
  std::string adif_path;        // the chosen ADIF log
  std::string program_file;     // the running program's file name, without directory
  std::string output_path;      // the output workbook
  std::string program_dir;      // the program's directory, trailing separator included
  std::string scoresheet_path;  // the Scoresheet template
  std::string view_path;        // the file chosen by View
  std::string update_file;      // a downloaded new program file
  std::string country_file;     // named on the command line; empty: the one found
};

// Splits a program's full path at its last backslash into directory (separator kept)
// and file name.
void split_program_path(ProgramPaths& paths, const std::string& full_path);

}  // namespace tarvenix
