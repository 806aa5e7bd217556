// The run log's name beside the output.
#include "scoresheet/file_paths.h"

namespace tarvenix {

std::string run_log_path(const std::string& output_path) {
  const size_t name_start = output_path.find_last_of("/\\") == std::string::npos
                                ? 0
                                : output_path.find_last_of("/\\") + 1;
  const size_t dot = output_path.rfind('.');
  std::string log_path = dot != std::string::npos && dot >= name_start
                             ? output_path.substr(0, dot) + ".log"
                             : output_path + ".log";
  if (log_path == output_path) log_path += ".log";
  return log_path;
}

}  // namespace tarvenix
