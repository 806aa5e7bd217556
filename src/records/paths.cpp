// File names and their comparison.
#include "records/paths.h"

#include <filesystem>
#include <system_error>

#include "records/text_compare.h"

namespace tarvenix {

namespace fs = std::filesystem;

namespace {

std::string comparable(const std::string& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(fs::path(path), ec);
  if (ec) absolute = fs::path(path);
  const std::string text = absolute.lexically_normal().generic_string();
#ifdef _WIN32
  return lower_ascii(text);
#else
  return text;
#endif
}

}  // namespace

std::string file_name_of(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool same_file(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::equivalent(fs::path(a), fs::path(b), ec) && !ec) return true;
  return comparable(a) == comparable(b);
}

}  // namespace tarvenix
