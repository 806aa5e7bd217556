// The country file: its lines read or refused, its age and the checks of a download, and
// call signs located in the real file that Debian installs.
#include <doctest/doctest.h>

#include <string>

#include "countryfile/call_lookup.h"
#include "countryfile/country_file_age.h"
#include "countryfile/country_file_read.h"

using namespace tarvenix;

namespace {

const char* const good_line =
    "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,AH6 KH6 =KH6ABC(32){AS} =VER20240101;";

const CountryFile& real_file() {
  static const Result<CountryFile> read = read_country_file(TARVENIX_INSTALLED_COUNTRY_FILE);
  REQUIRE(read.ok());
  return read.value();
}

// "dxcc zone continent", "0 0 " for no match.
std::string described(const CountryMatch& m) {
  return std::to_string(m.dxcc) + " " + std::to_string(m.cq_zone) + " " + m.continent;
}

}  // namespace

TEST_CASE("lines not in the format are left out and the first one named") {
  const char* const bad_lines[] = {
      "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,AH6 KH6",   // no ";"
      "KH6,Hawaii,110,OC,31,61,21.12,157.48,AH6 KH6;",       // a field short
      "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,AH6,KH6;",  // a field too many
      "KH6,Hawaii,0,OC,31,61,21.12,157.48,10.0,AH6;",        // no DXCC number
      "KH6,Hawaii,110,OC,41,61,21.12,157.48,10.0,AH6;",      // zone past 40
      "KH6,Hawaii,110,XX,31,61,21.12,157.48,10.0,AH6;",      // no such continent
      "KH6,Hawaii,110,OC,31,61,north,157.48,10.0,AH6;",      // latitude not a number
      "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,;",         // no alias
      "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,AH6(41);",  // override past 40
      "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,AH6(31;",   // override not closed
      "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,AH6{XY};",  // no such continent
      "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,AH6 K#6;",  // not a call
      "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,=;",        // empty exact call
      ",Hawaii,110,OC,31,61,21.12,157.48,10.0,AH6;",         // no primary prefix
  };
  for (const char* bad : bad_lines) {
    const std::string line = bad;
    CAPTURE(line);
    const CountryFile file = CountryFile::parse(std::string(good_line) + "\r\n\n" + line + "\n");
    CHECK(std::to_string(file.entity_count()) + " " + std::to_string(file.bad_lines()) + " " +
              std::to_string(file.first_bad_line()) ==
          "1 1 3");
  }
}

TEST_CASE("overrides, the version, and the first entity of a text") {
  const CountryFile file = CountryFile::parse(
      std::string(good_line) + "\nK,United States,291,NA,5,8,37.60,91.87,5.0,K KH6<1/2>~-3~[7];");
  CHECK(file.entity_count() == 2);
  CHECK(file.version() == "20240101");
  CHECK(file.bad_lines() == 0);
  CHECK(described(file.exact_call("KH6ABC")) == "110 32 AS");
  CHECK(described(file.longest_prefix("KH6XY")) == "110 31 OC");  // Hawaii's KH6, not the later one
  CHECK(described(file.longest_prefix("K1XY")) == "291 5 NA");
  CHECK_FALSE(file.exact_call("VER20240101"));
  CHECK_FALSE(file.longest_prefix("W1AW"));
}

TEST_CASE("files that cannot be used say why") {
  CHECK(read_country_file("/no/such/cty.csv").reason().rfind("cannot be read (", 0) == 0);
  CHECK(read_country_file(TARVENIX_SOURCE_DIR "/README.md").reason() ==
        "is not in the country file format (line 1)");
  CHECK(default_country_file("/no/such/folder/").rfind("/no/such/folder/", 0) != 0);
}

TEST_CASE("a copy is due after 30 days; a download must be large enough and dated") {
  const std::time_t march_first = 951868800;  // 2000, UTC: 30 days after 31 January
  for (const auto& [version, due] : {std::pair{"20000131", false}, {"20000130", true}, {"", true}})
    CHECK(country_file_due(version, march_first) == due);
  CHECK(country_file_before_year("20001231", 2001));
  CHECK_FALSE(country_file_before_year("20010101", 2001));
  std::string lines;
  for (int i = 1; i < 300; ++i)
    lines.append("K").append(std::to_string(i)).append(",K,291,NA,5,8,1,1,1,K;\n");
  const auto problem = [](const std::string& text) {
    return country_download_problem(CountryFile::parse(text), "");
  };
  CHECK(problem(lines) == "holds only 299 entities");
  CHECK(problem(lines + "K,K,291,NA,5,8,1,1,1,K;") == "carries no version");
  CHECK(problem(lines + good_line).empty());
}

TEST_CASE("calls located in the real country file") {
  // clang-format off
  const struct { const char* call; const char* match; } cases[] = {
      {"W1AW", "291 5 NA"},
      {"w1aw", "291 5 NA"},
      {"K6XX", "291 3 NA"},
      {"KH6/W1AW", "110 31 OC"},
      {"W1AW/KH6", "110 31 OC"},
      {"VP2E/W1AW", "12 8 NA"},
      {"W1AW/P", "291 5 NA"},
      {"W1AW/7", "291 5 NA"},
      {"F/W1AW/P", "227 14 EU"},
      {"W1AW/MM", "0 0 "},
      {"W1AW/AM", "0 0 "},
      {"W1AW/90", "291 5 NA"},
      {"VE3ABC", "1 4 NA"},
      {"VE2/KD3RF/M", "1 2 NA"},
      {"VA2BK", "1 2 NA"},
      {"DL1ABC", "230 14 EU"},
      {"MM0ABC", "279 14 EU"},
      {"2M0BDR", "279 14 EU"},
      {"4U1ITU", "117 14 EU"},
      {"4U1VIC", "206 15 EU"},
      {"IT9ABC", "248 15 EU"},
      {"3D2AG/P", "460 32 OC"},
      {"3D2ABC", "176 32 OC"},
      {"UA9XYZ", "54 17 EU"},
      {"UA0ABC", "15 18 AS"},
      {"KL7ABC", "6 1 NA"},
      {"KG4AA", "105 8 NA"},  // KG4 is Guantanamo Bay only with a two-letter suffix
      {"KG4W", "291 5 NA"},
      {"KG4ABC", "291 5 NA"},
      {"KG4AA/P", "105 8 NA"},
      {"W1AW/KG4", "105 8 NA"},
      {"W9XYZ/KG4", "105 8 NA"},
      {"QQ1ABC", "0 0 "},
      {"", "0 0 "},
      {"/", "0 0 "},
  };
  // clang-format on
  const CountryFile& file = real_file();
  CHECK(file.entity_count() > 300);
  CHECK(file.zones_of(223) == uint64_t{1} << 14);  // England
  CHECK((file.zones_of(291) & 0x38) == 0x38);      // zones 3 to 5, and a few more
  CHECK(file.zones_of(0) == 0);
  CHECK(file.entity_of(291)->name == "United States");
  for (const auto& c : cases) {
    CHECK(std::string(c.call) + " " + described(locate_call(file, c.call)) ==
          std::string(c.call) + " " + c.match);
  }
}
