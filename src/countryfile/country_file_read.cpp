// Reading the country file through the shared whole-file reader.
#include "countryfile/country_file_read.h"

#include <cstdlib>
#include <filesystem>

#include "records/file_read.h"

namespace tarvenix {

namespace {

#ifndef _WIN32
constexpr const char* installed_country_file = "/usr/share/hamradio-files/cty.csv";

// The XDG base directories' per-user data folder; relative names are to be ignored.
std::string user_data_folder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return data;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/share";
  return {};
}
#endif

bool is_file(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

Result<CountryFile> read_country_file(const std::string& path) {
  const Result<std::string> contents = tarvenix::read_file(path, country_file_limit);
  if (!contents.ok() && contents.code() == file_too_large) {
    return Failure{"is larger than " + std::to_string(country_file_limit >> 20) + " MB"};
  }
  if (!contents.ok()) return Failure{"cannot be read (" + contents.reason() + ")"};
  if (contents.value().empty()) return Failure{"is empty"};
  CountryFile file = CountryFile::parse(contents.value());
  if (file.entity_count() > 0) return file;
  if (file.first_bad_line() == 0) return Failure{"holds no entities"};
  return Failure{"is not in the country file format (line " +
                 std::to_string(file.first_bad_line()) + ")"};
}

std::string refreshed_country_file([[maybe_unused]] const std::string& program_dir) {
#ifdef _WIN32
  return program_dir + country_file_name;
#else
  const std::string folder = user_data_folder();
  return folder.empty() ? folder : folder + "/tarvenix/" + country_file_name;
#endif
}

std::string default_country_file(const std::string& program_dir) {
  const std::string places[] = {
      refreshed_country_file(program_dir),
      program_dir + country_file_name,
#ifndef _WIN32
      installed_country_file,
#endif
  };
  for (const std::string& place : places) {
    if (!place.empty() && is_file(place)) return place;
  }
  return {};
}

}  // namespace tarvenix
