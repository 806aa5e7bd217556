// The configuration store: file names, listing, loading, saving, version stamping, damaged
// and foreign files, failing writes, and real files on disk.
#include <doctest/doctest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "memory_file_system.h"
#include "ui/config_store.h"
#include "ui/disk_file_system.h"

using namespace tarvenix;

namespace {

struct Store {
  MemoryFileSystem files;
  ProgramPaths paths{.program_file = "tarvenix.exe", .program_dir = "C:\\Tarvenix\\"};
  OperatorConfig record;
  ConfigContext context() { return {paths, files, ConfigListSizes{.country = 300}}; }
  void set_callsign(const char* c) { std::strncpy(record.callsign, c, 15); }  // fills with NULs
  std::vector<uint8_t>& file(const std::string& stem) {
    return files.files[paths.program_dir + stem + ".cfg"];
  }
};

std::vector<uint8_t> stored(const OperatorConfig& r) {
  const ConfigBytes b = serialize_config(r);
  return {b.begin(), b.end()};
}

// A record as an earlier version of the program saved it.
// clang-format off
const OperatorConfig saved_config{.format_version = 3, .version_text = "0.9", .callsign = "W1AW", .name = "Stored",
                            .band_index = 6, .changed = 1, .confirmed = 1, .converted = 1};
// clang-format on

}  // namespace

TEST_CASE("only call signs of three characters or more that stay in the directory are saved") {
  Store s;
  for (const char* bad : {"..\\X", "C:X", "A B", "A.B", "W1AW*", "K1", "(SELECT OR NEW)"}) {
    CAPTURE(bad);
    s.set_callsign(bad);
    if (std::strlen(bad) > 2 && bad[0] != '(') CHECK_FALSE(config_file_name(s.record, s.paths));
    CHECK_FALSE(write_config(s.record, s.context()).has_value());
  }
  CHECK(s.files.writes == 0);
  s.set_callsign("K1A");
  write_config(s.record, s.context());
  CHECK(s.files.writes == 1);
}

TEST_CASE("listing: the call signs of the stored files, one of them selected when alone") {
  const struct {
    const char* what;
    std::vector<std::string> stems;
    std::vector<std::string> listed;
    const char* callsign_after;  // the record's, typed as K1ABC before
  } cases[] = {
      // clang-format off
      {"none", {}, {}, "K1ABC"},
      {"one", {"VP2E-W1AW"}, {"VP2E/W1AW"}, "VP2E/W1AW"},
      {"an old copy", {"W1AW.old"}, {"W1AW"}, "W1AW"},
      {"twice under two names", {"W1AW", "W1AW.old"}, {"W1AW"}, "W1AW"},
      {"two", {"W1AW", "DL1ABC"}, {"DL1ABC", "W1AW"}, ""},
      {"stems that cannot be call signs", {"ABCDEFGHIJKLMNOP", "A B", "", "sub\\W1AW", "ABCDEFGHIJKLMNO"}, {"ABCDEFGHIJKLMNO"}, "ABCDEFGHIJKLMNO"},
      // clang-format on
  };
  for (const auto& c : cases) {
    CAPTURE(std::string(c.what));
    Store s;
    s.set_callsign("K1ABC");
    std::strcpy(s.record.name, "typed");
    for (const std::string& stem : c.stems) s.file(stem) = stored(saved_config);
    const StoredCallsigns list = list_configs(s.record, s.context());
    CHECK(list.callsigns == c.listed);
    CHECK(list.single == (c.listed.size() == 1));
    CHECK(std::string(s.record.callsign) == c.callsign_after);
    if (c.listed.size() > 1) {  // the record is reset
      CHECK(s.record.name[0] == '\0');
      CHECK(s.record.format_version == 3);
    }
  }
  Store s;  // the old copy's call sign loads the file without ".old"
  s.file("W1AW.old") = stored(saved_config);
  REQUIRE(list_configs(s.record, s.context()).single);
  read_config(s.record, s.context());
  CHECK(s.record.message == "Unable to find config file: C:\\Tarvenix\\W1AW.cfg");
}

TEST_CASE("loading replaces the record with the stored one, made safe, and marks it loaded") {
  Store s;
  s.file("W1AW") = stored(saved_config);
  s.set_callsign("W1AW");
  s.record.message = "old text";
  read_config(s.record, s.context());
  CHECK(s.record.message.empty());
  CHECK(std::string(s.record.name) == "Stored");
  CHECK(std::string(s.record.version_text) == "0.9");  // as stored, until the next save
  // band and Confirmed as stored; loaded, and neither changed nor converted yet
  CHECK(std::tuple(s.record.band_index, s.record.confirmed, s.record.loaded, s.record.changed,
                   s.record.converted) == std::tuple(6, 1, 1, 0, 0));
  std::vector<uint8_t>& bytes = s.file("W1AW");  // damaged values are made safe
  std::memset(&bytes[36], 'N', 64);              // Name without NUL
  bytes[1019] = 99;                              // no such band
  read_config(s.record, s.context());
  CHECK(std::string(s.record.name) == std::string(63, 'N'));
  CHECK(s.record.band_index == 0);
}

TEST_CASE("loading what is not a stored record of this format") {
  const std::vector<uint8_t> full = stored(saved_config);
  OperatorConfig old_format = saved_config;
  old_format.format_version = 2;
  const std::string damaged = "Configuration file is damaged, resetting to default.";
  const auto first = [&](long n) { return std::vector<uint8_t>(full.begin(), full.begin() + n); };
  const struct {
    const char* what;
    const char* callsign;
    std::optional<std::vector<uint8_t>> bytes;
    std::string message;
    const char* callsign_after;  // null: the record is kept as typed
  } cases[] = {
      // clang-format off
      {"nothing typed", "", std::nullopt, "", nullptr},
      {"the list's first row", "(SELECT OR NEW)", std::nullopt, "", nullptr},
      {"no file", "K1ABC", std::nullopt, "Unable to find config file: C:\\Tarvenix\\K1ABC.cfg", nullptr},
      {"another format", "W1AW", stored(old_format), "Configuration version changed, resetting to default.", "W1AW"},
      // shorter than a record: damaged, and nothing past the end is read
      {"0 bytes", "W1AW", first(0), damaged, ""},
      {"2 bytes", "W1AW", first(2), damaged, ""},
      {"25 bytes", "W1AW", first(25), damaged, "W1AW"},
      {"36 bytes", "W1AW", first(36), damaged, "W1AW"},
      {"1039 bytes", "W1AW", first(1039), damaged, "W1AW"},
      // clang-format on
  };
  for (const auto& c : cases) {
    CAPTURE(std::string(c.what));
    Store s;
    if (c.bytes) s.file("W1AW") = *c.bytes;
    s.set_callsign(c.callsign);
    std::strcpy(s.record.name, "typed");
    s.record.converted = 1;
    s.record.message = "old text";
    read_config(s.record, s.context());
    CHECK(s.record.message == c.message);
    CHECK(s.record.converted == 0);
    if (c.callsign_after == nullptr) {
      CHECK(std::string(s.record.name) == "typed");
      CHECK(std::string(s.record.callsign) == c.callsign);
    } else {
      CHECK(s.record.name[0] == '\0');
      CHECK(s.record.format_version == 3);
      CHECK(std::string(s.record.callsign) == c.callsign_after);
    }
    if (c.bytes) CHECK(s.file("W1AW") == *c.bytes);  // rewritten only at the next save
  }
}

TEST_CASE("saving stamps the record, stores 0 in the message slot and keeps the flags") {
  Store s;
  s.set_callsign("VP2E/W1AW");
  std::strcpy(s.record.club, "YCCC");
  std::strcpy(s.record.version_text, "old");
  s.files.version.reset();  // no version: the record keeps its stamp
  stamp_version(s.record, s.context());
  CHECK(s.record.format_version == 0);
  CHECK(std::string(s.record.version_text) == "old");
  s.files.version = FileVersion{1, 7};
  s.record.message = "pending";
  s.record.changed = 1;
  CHECK_FALSE(write_config(s.record, s.context()).has_value());
  const std::vector<uint8_t> bytes = s.file("VP2E-W1AW");
  REQUIRE(bytes.size() == 1040);
  CHECK(bytes == stored(s.record));
  CHECK(bytes[0] == 3);
  CHECK(std::string(s.record.version_text) == "1.7");
  CHECK(s.record.message.empty());
  CHECK(s.record.changed == 1);  // saving does not clear it
  // a failed save keeps the old file and tells the operator
  s.files.write_error = 5;
  s.record.club[0] = 'X';
  CHECK(write_config(s.record, s.context()) ==
        "Error: Can't open C:\\Tarvenix\\VP2E-W1AW.cfg for output (0x5)");
  CHECK(s.file("VP2E-W1AW") == bytes);
}

TEST_CASE("real files: saved, listed and loaded through the disk, or not written") {
  const auto dir = std::filesystem::temp_directory_path() / "tarvenix_config_store_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  DiskFileSystem disk;
  ProgramPaths paths;
  paths.program_dir = dir.string() + std::string(1, std::filesystem::path::preferred_separator);
  const ConfigContext context{paths, disk, {}};

  OperatorConfig record;
  std::strcpy(record.callsign, "VP2E/W1AW");
  std::strcpy(record.antenna_description, "Yagi\r\n3 elements");
  REQUIRE_FALSE(write_config(record, context).has_value());
  REQUIRE_FALSE(write_config(record, context).has_value());  // over the old file
  CHECK(std::filesystem::file_size(dir / "VP2E-W1AW.cfg") == 1040);
  CHECK_FALSE(std::filesystem::exists(dir / "VP2E-W1AW.cfg.tmp"));

  OperatorConfig other;
  REQUIRE(list_configs(other, context).single);
  read_config(other, context);
  CHECK(other.message.empty());
  CHECK(std::string(other.antenna_description) == "Yagi\r\n3 elements");

  std::filesystem::remove_all(dir);
  const auto error = write_config(record, context);  // the directory is gone
  REQUIRE(error.has_value());
  CHECK(error->starts_with("Error: Can't open "));
  CHECK(error->find("VP2E-W1AW.cfg for output (0x") != std::string::npos);
}
