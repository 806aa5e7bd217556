// Splitting the program's path into its directory and file name.
#include "ui/program_paths.h"

#include "records/paths.h"

namespace tarvenix {

void split_program_path(ProgramPaths& paths, const std::string& full_path) {
  paths.program_dir = folder_of(full_path, "\\");
  paths.program_file = file_name_of(full_path, "\\");
}

}  // namespace tarvenix
