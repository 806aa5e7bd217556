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

size_t file_name_start(std::string_view path, std::string_view separators) {
  const size_t slash = path.find_last_of(separators);
  return slash == std::string_view::npos ? 0 : slash + 1;
}

}  // namespace

std::string file_name_of(std::string_view path, std::string_view separators) {
  return std::string(path.substr(file_name_start(path, separators)));
}

std::string folder_of(std::string_view path, std::string_view separators) {
  return std::string(path.substr(0, file_name_start(path, separators)));
}

bool same_file(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::equivalent(fs::path(a), fs::path(b), ec) && !ec) return true;
  return comparable(a) == comparable(b);
}

}  // namespace tarvenix
