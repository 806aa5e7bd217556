// The names beside the output.
#include "scoresheet/file_paths.h"

namespace tarvenix {

namespace {

// Never the output itself: an output already named like the companion gets it appended.
std::string beside_output(const std::string& output_path, const char* extension) {
  const size_t name_start = output_path.find_last_of("/\\") == std::string::npos
                                ? 0
                                : output_path.find_last_of("/\\") + 1;
  const size_t dot = output_path.rfind('.');
  std::string path = dot != std::string::npos && dot >= name_start
                         ? output_path.substr(0, dot) + extension
                         : output_path + extension;
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
