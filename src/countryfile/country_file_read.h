// The country file on disc: where it is looked for, and reading it with a bound on its size.
#pragma once

#include <string>

#include "countryfile/country_file.h"
#include "records/result.h"

namespace tarvenix {

inline constexpr const char* country_file_name = "cty.csv";
// Bytes. The real file has 0.3 MB; the tables of a file this large take at most about 50 MB.
inline constexpr size_t country_file_limit = 1 << 20;

// The file, when it was read and holds at least one entity; else why not, a text to follow the
// file's name: "cannot be read (...)".
Result<CountryFile> read_country_file(const std::string& path);

// Where a refresh keeps the country file: on Windows cty.csv in the program's folder
// (`program_dir` ends with its separator); elsewhere in the user's data folder,
// $XDG_DATA_HOME/tarvenix/cty.csv, else ~/.local/share/tarvenix/cty.csv. Empty when neither
// variable names a folder.
std::string refreshed_country_file(const std::string& program_dir);

// The first that exists of: the refreshed copy, cty.csv in the program's folder, the file
// Debian's hamradio-files installs (not on Windows); empty when none does.
std::string default_country_file(const std::string& program_dir);

}  // namespace tarvenix
