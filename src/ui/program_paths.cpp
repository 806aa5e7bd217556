// Splitting the program's path into its directory and file name.
#include "ui/program_paths.h"

namespace tarvenix {

void split_program_path(ProgramPaths& paths, const std::string& full_path) {
  const size_t slash = full_path.find_last_of('\\');
  const size_t cut = slash == std::string::npos ? 0 : slash + 1;
  paths.program_dir = full_path.substr(0, cut);
  paths.program_file = full_path.substr(cut);
}

}  // namespace tarvenix
