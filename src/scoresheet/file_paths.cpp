// Path rules of a conversion.
#include "scoresheet/file_paths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace tarvenix {

namespace fs = std::filesystem;

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

namespace {

std::string comparable(const std::string& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(fs::path(path), ec);
  if (ec) absolute = fs::path(path);
  std::string text = absolute.lexically_normal().generic_string();
#ifdef _WIN32
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
#endif
  return text;
}

}  // namespace

bool same_file(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::equivalent(fs::path(a), fs::path(b), ec) && !ec) return true;  // links too
  return comparable(a) == comparable(b);
}

}  // namespace tarvenix
