// The file checks before a conversion, in the order the operator is told about them.
#include "ui/convert_checks.h"

#include "records/paths.h"

namespace tarvenix {

std::optional<std::string> check_convert_files(const ProgramPaths& paths) {
  if (paths.adif_path.empty()) return "You did not select an ADIF file for input!";
  if (paths.scoresheet_path.empty()) return "You did not select a Scoresheet for input!";
  if (paths.scoresheet_path.find("Scoresheet v1.0") == std::string::npos) {
    return file_name_of(paths.scoresheet_path) +
           "\n\ndoes not appear to be a valid DX Tarvenix scoresheet!";
  }
  if (paths.output_path.empty()) return "You did not select an Output file!";
  // Compared as the system compares paths, so the template can never be overwritten.
  if (same_file(paths.scoresheet_path, paths.output_path)) {
    return "The Scoresheet and Output file can not be the same!";
  }
  return std::nullopt;
}

}  // namespace tarvenix
