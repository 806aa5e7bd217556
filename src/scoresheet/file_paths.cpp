// The names beside the output.
#include "scoresheet/file_paths.h"

#include "records/paths.h"

namespace tarvenix {

namespace {

// Never the output itself: an output already named like the companion gets it appended.
std::string beside_output(const std::string& output_path, const char* extension) {
  const std::string name = file_name_of(output_path);
  std::string path = folder_of(output_path) + name.substr(0, name.rfind('.')) + extension;
  if (path == output_path) path += extension;
  return path;
}

}  // namespace

std::string run_log_path(const std::string& output_path) {
  return beside_output(output_path, ".log");
}

std::string results_page_path(const std::string& output_path) {
  return beside_output(output_path, ".html");
}

}  // namespace tarvenix
