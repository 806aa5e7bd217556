// The file paths the program works with, alive for the whole process.
#pragma once

#include <string>

namespace tarvenix {

struct ProgramPaths {
  std::string adif_path;        // the chosen ADIF log
  std::string program_file;     // the running program's file name, without folder
  std::string output_path;      // the output workbook
  std::string program_dir;      // the program's folder, with its trailing separator
  std::string scoresheet_path;  // the Scoresheet template
  std::string view_path;        // the file chosen by View
  std::string update_file;      // a downloaded new program file
};

}  // namespace tarvenix
