// Reading the country file through the shared whole-file reader.
#include "countryfile/country_file_read.h"

#include <filesystem>

#include "records/file_read.h"

namespace tarvenix {

namespace {

#ifndef _WIN32
constexpr const char* installed_country_file = "/usr/share/hamradio-files/cty.csv";
#endif

bool is_file(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

CountryFileRead read_country_file(const std::string& path) {
  CountryFileRead read;
  const FileContents contents = tarvenix::read_file(path, country_file_limit);
  if (!contents.ok) {
    read.problem = "cannot be read (" + contents.error + ")";
  } else if (contents.too_large) {
    read.problem = "is larger than " + std::to_string(country_file_limit >> 20) + " MB";
  } else if (contents.bytes.empty()) {
    read.problem = "is empty";
  } else {
    read.file = CountryFile::parse(contents.bytes);
    read.usable = read.file.entity_count() > 0;
    if (!read.usable && read.file.first_bad_line() == 0) read.problem = "holds no entities";
    if (!read.usable && read.file.first_bad_line() != 0) {
      read.problem = "is not in the country file format (line " +
                     std::to_string(read.file.first_bad_line()) + ")";
    }
  }
  return read;
}

std::string default_country_file(const std::string& program_dir) {
  const std::string beside_program = program_dir + country_file_name;
  if (is_file(beside_program)) return beside_program;
#ifndef _WIN32
  if (is_file(installed_country_file)) return installed_country_file;
#endif
  return {};
}

}  // namespace tarvenix
