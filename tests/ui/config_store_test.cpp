// The configuration store: file names, listing, loading, saving, version stamping, damaged
// and foreign files, failing writes, and real files on disk.
#include <doctest/doctest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "memory_file_system.h"
#include "ui/config_store.h"
#include "ui/std_file_system.h"

using namespace tarvenix;

namespace {

struct Store {
  MemoryFileSystem files;
  ProgramPaths paths;
  OperatorConfig record;
  Store() {
    paths.program_dir = "C:\\Tarvenix\\";
    paths.program_file = "tarvenix.exe";
  }
  ConfigContext context() { return {paths, files, ConfigListSizes{.country = 300}}; }
  void set_callsign(const char* c) {
    std::memset(record.callsign, 0, sizeof record.callsign);
    std::memcpy(record.callsign, c, std::min<size_t>(std::strlen(c), 15));
  }
  std::vector<uint8_t>& file(const std::string& stem) {
    return files.files[paths.program_dir + stem + ".cfg"];
  }
};

std::vector<uint8_t> stored(const OperatorConfig& r) {
  const ConfigBytes b = serialize_config(r);
  return {b.begin(), b.end()};
}

OperatorConfig saved_record(const char* callsign, const char* name) {
  OperatorConfig r;
  r.format_version = 3;
  std::strcpy(r.version_text, "0.9");
  std::strcpy(r.callsign, callsign);
  std::strcpy(r.name, name);
  r.band_index = 6;
  r.confirmed = 1;
  r.changed = 1;
  r.converted = 1;
  return r;
}

}  // namespace

TEST_CASE("a call sign with a slash is stored with a dash and listed back with the slash") {
  Store s;
  s.set_callsign("VP2E/W1AW");
  CHECK(callsign_to_stem(s.record) == "VP2E-W1AW");
  CHECK(config_file_name(s.record, s.paths) == "C:\\Tarvenix\\VP2E-W1AW.cfg");
  std::string text = "VP2E-W1AW";
  stem_to_callsign(text);
  CHECK(text == "VP2E/W1AW");
}

TEST_CASE("a call sign that could leave the directory never becomes a file name") {
  Store s;
  for (const char* bad : {"..\\X", "C:X", "A B", "A.B", "W1AW*"}) {
    s.set_callsign(bad);
    CHECK_FALSE(config_file_name(s.record, s.paths).has_value());
    CHECK_FALSE(write_config(s.record, s.context()).has_value());
  }
  CHECK(s.files.writes == 0);
}

TEST_CASE("stamping writes format 3 and the program version") {
  Store s;
  stamp_version(s.record, s.context());
  CHECK(s.record.format_version == 3);
  CHECK(std::string(s.record.version_text) == "1.7");
}

TEST_CASE("without version information stamping changes nothing") {
  Store s;
  s.files.version.reset();
  std::strcpy(s.record.version_text, "old");
  stamp_version(s.record, s.context());
  CHECK(s.record.format_version == 0);
  CHECK(std::string(s.record.version_text) == "old");
}

TEST_CASE("with no stored files the list is empty and the record untouched") {
  Store s;
  s.set_callsign("K1ABC");
  const StoredCallsigns list = list_configs(s.record, s.context());
  CHECK(list.callsigns.empty());
  CHECK_FALSE(list.single);
  CHECK(std::string(s.record.callsign) == "K1ABC");
}

TEST_CASE("one stored file is listed, selected and named in the record") {
  Store s;
  s.file("VP2E-W1AW") = stored(saved_record("VP2E/W1AW", "Ann"));
  const StoredCallsigns list = list_configs(s.record, s.context());
  CHECK(list.single);
  REQUIRE(list.callsigns.size() == 1);
  CHECK(list.callsigns[0] == "VP2E/W1AW");
  CHECK(std::string(s.record.callsign) == "VP2E/W1AW");
}

TEST_CASE("W1AW.old.cfg is listed as W1AW and loads W1AW.cfg") {
  Store s;
  s.file("W1AW.old") = stored(saved_record("W1AW", "Old"));
  const StoredCallsigns list = list_configs(s.record, s.context());
  REQUIRE(list.single);
  CHECK(list.callsigns[0] == "W1AW");
  read_config(s.record, s.context());
  CHECK(s.record.message == "Unable to find config file: C:\\Tarvenix\\W1AW.cfg");
}

TEST_CASE("a call sign stored twice under different names is listed once") {
  Store s;
  s.file("W1AW") = stored(saved_record("W1AW", "New"));
  s.file("W1AW.old") = stored(saved_record("W1AW", "Old"));
  const StoredCallsigns list = list_configs(s.record, s.context());
  CHECK(list.single);
  CHECK(list.callsigns.size() == 1);
}

TEST_CASE("two or more stored files reset the record and select nothing") {
  Store s;
  s.set_callsign("K1ABC");
  std::strcpy(s.record.name, "typed");
  s.file("W1AW") = stored(saved_record("W1AW", "A"));
  s.file("DL1ABC") = stored(saved_record("DL1ABC", "B"));
  const StoredCallsigns list = list_configs(s.record, s.context());
  CHECK_FALSE(list.single);
  CHECK(list.callsigns == std::vector<std::string>{"DL1ABC", "W1AW"});
  CHECK(s.record.callsign[0] == '\0');
  CHECK(s.record.name[0] == '\0');
  CHECK(s.record.format_version == 3);
}

TEST_CASE("file stems that cannot be call signs are not listed") {
  Store s;
  s.file("ABCDEFGHIJKLMNOP") = stored(saved_record("X", "16 characters"));
  s.file("A B") = stored(saved_record("X", "blank"));
  s.file("") = stored(saved_record("X", "no stem"));
  s.files.files["C:\\Tarvenix\\sub\\W1AW.cfg"] = stored(saved_record("W1AW", "elsewhere"));
  s.file("ABCDEFGHIJKLMNO") = stored(saved_record("X", "15 characters"));
  const StoredCallsigns list = list_configs(s.record, s.context());
  CHECK(list.callsigns == std::vector<std::string>{"ABCDEFGHIJKLMNO"});
}

TEST_CASE("loading replaces the record with the stored one and marks it loaded") {
  Store s;
  s.file("W1AW") = stored(saved_record("W1AW", "Hiram"));
  s.set_callsign("W1AW");
  s.record.message = "old text";
  read_config(s.record, s.context());
  CHECK(s.record.message.empty());
  CHECK(std::string(s.record.name) == "Hiram");
  CHECK(std::string(s.record.version_text) == "0.9");  // as stored, until the next save
  CHECK(s.record.band_index == 6);
  CHECK(s.record.confirmed == 1);
  CHECK(s.record.loaded == 1);
  CHECK(s.record.changed == 0);
  CHECK(s.record.converted == 0);
}

TEST_CASE("loading a call sign without a file leaves a message and the record as it was") {
  Store s;
  s.set_callsign("K1ABC");
  std::strcpy(s.record.name, "typed");
  s.record.converted = 1;
  read_config(s.record, s.context());
  CHECK(s.record.message == "Unable to find config file: C:\\Tarvenix\\K1ABC.cfg");
  CHECK(std::string(s.record.name) == "typed");
  CHECK(s.record.converted == 0);
}

TEST_CASE("loading nothing or the list's first row does nothing") {
  Store s;
  read_config(s.record, s.context());
  CHECK(s.record.message.empty());
  s.set_callsign("(SELECT OR NEW)");
  read_config(s.record, s.context());
  CHECK(s.record.message.empty());
}

TEST_CASE("a file of another format version resets the record but keeps its call sign") {
  Store s;
  OperatorConfig old = saved_record("W1AW", "Old format");
  old.format_version = 2;
  s.file("W1AW") = stored(old);
  s.set_callsign("W1AW");
  read_config(s.record, s.context());
  CHECK(s.record.message == "Configuration version changed, resetting to default.");
  CHECK(std::string(s.record.callsign) == "W1AW");
  CHECK(s.record.name[0] == '\0');
  CHECK(s.record.format_version == 3);
  CHECK(s.file("W1AW") == stored(old));  // rewritten only at the next save
}

TEST_CASE("a file shorter than a record is treated as damaged and nothing past it is read") {
  const std::vector<uint8_t> full = stored(saved_record("W1AW", "Cut short"));
  for (size_t length : {size_t{0}, size_t{2}, size_t{25}, size_t{36}, size_t{1039}}) {
    CAPTURE(length);
    Store s;
    s.file("W1AW").assign(full.begin(), full.begin() + static_cast<ptrdiff_t>(length));
    s.set_callsign("W1AW");
    read_config(s.record, s.context());
    CHECK(s.record.message == "Configuration file is damaged, resetting to default.");
    CHECK(s.record.name[0] == '\0');
    CHECK(s.record.format_version == 3);
    CHECK(std::string(s.record.callsign) == (length >= 25 ? "W1AW" : ""));
  }
}

TEST_CASE("a file written by an earlier program with the same layout loads") {
  // Laid out by hand: version 3, a stale message pointer and text after the NULs.
  std::vector<uint8_t> bytes(1040, 0);
  bytes[0] = 3;
  std::memcpy(&bytes[4], "2.4\0junk", 8);
  std::memcpy(&bytes[20], "DL1ABC", 6);
  std::memcpy(&bytes[36], "Karl", 4);
  std::memcpy(&bytes[308], "Fed. Rep. of Germany", 20);
  std::memcpy(&bytes[372], "14", 2);
  bytes[1016] = 0x05;
  bytes[1017] = 0x01;  // Country row 261
  bytes[1018] = 1;
  bytes[1019] = 4;
  bytes[1020] = 1;
  for (int i = 1024; i < 1028; ++i) bytes[i] = 0x5A;
  bytes[1028] = 150;
  bytes[1037] = 1;
  Store s;
  s.file("DL1ABC") = bytes;
  s.set_callsign("DL1ABC");
  read_config(s.record, s.context());
  CHECK(s.record.message.empty());
  CHECK(std::string(s.record.name) == "Karl");
  CHECK(std::string(s.record.country) == "Fed. Rep. of Germany");
  CHECK(std::string(s.record.cq_zone) == "14");
  CHECK(s.record.country_index == 261);
  CHECK(s.record.entry_index == 1);
  CHECK(s.record.band_index == 4);
  CHECK(s.record.mode_index == 1);
  CHECK(s.record.countries_written == 150);
  CHECK(s.record.confirmed == 1);
}

TEST_CASE("loading a file with damaged values makes them safe") {
  std::vector<uint8_t> bytes = stored(saved_record("W1AW", "x"));
  std::memset(&bytes[36], 'N', 64);  // Name without NUL
  bytes[1019] = 99;                  // no such band
  Store s;
  s.file("W1AW") = bytes;
  s.set_callsign("W1AW");
  read_config(s.record, s.context());
  CHECK(std::string(s.record.name) == std::string(63, 'N'));
  CHECK(s.record.band_index == 0);
}

TEST_CASE("saving stamps the record, stores 0 in the message slot and keeps the flags") {
  Store s;
  s.set_callsign("VP2E/W1AW");
  std::strcpy(s.record.club, "YCCC");
  s.record.message = "pending";
  s.record.changed = 1;
  CHECK_FALSE(write_config(s.record, s.context()).has_value());
  const std::vector<uint8_t>& bytes = s.file("VP2E-W1AW");
  REQUIRE(bytes.size() == 1040);
  CHECK(bytes[0] == 3);
  CHECK(bytes[1] == 0);
  CHECK(std::string(reinterpret_cast<const char*>(&bytes[4])) == "1.7");
  for (int i = 1024; i < 1028; ++i) CHECK(bytes[i] == 0);
  CHECK(bytes[1036] == 1);  // saving does not clear `changed`
  CHECK(s.record.message.empty());
  CHECK(s.record.changed == 1);
}

TEST_CASE("call signs of one or two characters are never saved") {
  Store s;
  s.set_callsign("K1");
  CHECK_FALSE(write_config(s.record, s.context()).has_value());
  s.set_callsign("(SELECT OR NEW)");
  CHECK_FALSE(write_config(s.record, s.context()).has_value());
  CHECK(s.files.writes == 0);
  s.set_callsign("K1A");
  write_config(s.record, s.context());
  CHECK(s.files.writes == 1);
}

TEST_CASE("a failed save keeps the old file and tells the operator") {
  Store s;
  const std::vector<uint8_t> old = stored(saved_record("W1AW", "Old"));
  s.file("W1AW") = old;
  s.set_callsign("W1AW");
  s.files.write_error = 5;
  const auto error = write_config(s.record, s.context());
  REQUIRE(error.has_value());
  CHECK(*error == "Error: Can't open C:\\Tarvenix\\W1AW.cfg for output (0x5)");
  CHECK(s.file("W1AW") == old);
}

TEST_CASE("a record saved and loaded again is the same record") {
  Store s;
  s.record = saved_record("W1AW/1", "Round Trip");
  s.record.format_version = 0;
  s.record.loaded = 0;
  REQUIRE_FALSE(write_config(s.record, s.context()).has_value());
  const ConfigBytes saved = serialize_config(s.record);
  OperatorConfig loaded;
  std::strcpy(loaded.callsign, "W1AW/1");
  read_config(loaded, s.context());
  CHECK(loaded.message.empty());
  loaded.loaded = 0;
  loaded.changed = s.record.changed;
  loaded.converted = s.record.converted;
  CHECK(serialize_config(loaded) == saved);
}

TEST_CASE("real files: saved, listed and loaded through the disk") {
  const auto dir = std::filesystem::temp_directory_path() / "tarvenix_config_store_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  StdFileSystem disk;
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
  const StoredCallsigns list = list_configs(other, context);
  REQUIRE(list.single);
  read_config(other, context);
  CHECK(other.message.empty());
  CHECK(std::string(other.antenna_description) == "Yagi\r\n3 elements");

  std::filesystem::resize_file(dir / "VP2E-W1AW.cfg", 100);
  read_config(other, context);
  CHECK(other.message == "Configuration file is damaged, resetting to default.");
  CHECK(std::string(other.callsign) == "VP2E/W1AW");
  std::filesystem::remove_all(dir);
}

TEST_CASE("real files: a directory that cannot be written gives the error text") {
  StdFileSystem disk;
  ProgramPaths paths;
  paths.program_dir =
      (std::filesystem::temp_directory_path() / "tarvenix_no_such_dir" / "").string();
  OperatorConfig record;
  std::strcpy(record.callsign, "W1AW");
  const auto error = write_config(record, {paths, disk, {}});
  REQUIRE(error.has_value());
  CHECK(error->starts_with("Error: Can't open "));
  CHECK(error->find("W1AW.cfg for output (0x") != std::string::npos);
}
