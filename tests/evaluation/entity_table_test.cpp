// The entity table: its size, order, codes, flags and names, and the lookup by prefix.
#include <doctest/doctest.h>

#include <set>
#include <string>

#include "evaluation/entity_table.h"

using namespace tarvenix;

TEST_CASE("the table has 408 rows in byte order of prefix with unique non-zero codes") {
  CHECK(ENTITY_TABLE.size() == 408);
  std::set<int32_t> codes;
  for (size_t i = 0; i < ENTITY_TABLE.size(); ++i) {
    CAPTURE(ENTITY_TABLE[i].prefix);
    CHECK(ENTITY_TABLE[i].code != 0);
    CHECK(ENTITY_TABLE[i].code > 0);
    CHECK(ENTITY_TABLE[i].code <= 906);
    codes.insert(ENTITY_TABLE[i].code);
    if (i > 0) CHECK(ENTITY_TABLE[i - 1].prefix < ENTITY_TABLE[i].prefix);
  }
  CHECK(codes.size() == 408);
}

TEST_CASE("283 rows are in the Country list; the 63 deleted entities have no name") {
  int flagged = 0, unnamed = 0;
  for (const EntityEntry& row : ENTITY_TABLE) {
    flagged += row.in_country_list;
    if (row.name.empty()) {
      ++unnamed;
      CHECK(row.in_country_list == 0);
    }
  }
  CHECK(flagged == 283);
  CHECK(unnamed == 63);
}

TEST_CASE("the telling rows hold their code, flag and name") {
  struct Row {
    const char* prefix;
    int32_t code;
    int32_t flag;
    const char* name;
  };
  const Row rows[] = {
      {"4U1V", 901, 0, "ITU Vienna Int'l Center"},
      {"GM/s", 902, 1, "Shetland Is."},
      {"IG9", 903, 1, "African Italy"},
      {"IT9", 904, 1, "Sicily"},
      {"JW/b", 905, 0, "Bear Is."},
      {"TA1", 906, 1, "European Turkey"},
      {"1A", 246, 0, "Sov. Mil. Order of Malta"},
      {"1B", 23, 0, ""},
      {"3A", 260, 1, "Monaco"},
      {"4U1I", 117, 1, "ITU HQ (Geneva)"},
      {"4U1U", 289, 1, "United Nations HQ (NY)"},
      {"K", 291, 1, "United States of America"},
      {"VE", 1, 1, "Canada"},
      {"GM", 279, 1, "Scotland"},
      {"I", 248, 1, "Italy"},
      {"JW", 259, 1, "Svalbard"},
      {"OE", 206, 1, "Austria"},
      {"TA", 390, 1, "Turkey"},
      {"ZS8", 201, 0, "Prince Edward & Marion Is."},
      {"ZS9", 488, 0, ""},
      {"FT/j", 124, 0, "Juan de Nova, Europa"},
      {"ZS", 462, 1, "South Africa"},
      {"TU", 428, 1, "Cote d'Ivoire"},
      {"KH8/s", 515, 0, "Swains Island"},
  };
  for (const Row& row : rows) {
    CAPTURE(row.prefix);
    const EntityEntry* entry = find_entity(row.prefix);
    REQUIRE(entry != nullptr);
    CHECK(entry->code == row.code);
    CHECK(entry->in_country_list == row.flag);
    CHECK(entry->name == row.name);
  }
}

TEST_CASE("a slash and a letter sort right after the base prefix") {
  CHECK(find_entity("3D2") + 1 == find_entity("3D2/c"));
  CHECK(find_entity("3D2/c") + 1 == find_entity("3D2/r"));
  CHECK(find_entity("3D2/r") + 1 == find_entity("3DA"));
  CHECK(find_entity("VK9/P") < find_entity("VK9/T"));
  CHECK(find_entity("VK9/T") < find_entity("VK9C"));
}

TEST_CASE("find_entity matches whole prefixes, case-sensitively") {
  CHECK(find_entity("KH8/s")->code == 515);
  CHECK(find_entity("KH8")->code == 9);
  CHECK(find_entity("kh8") == nullptr);
  CHECK(find_entity("KH8/S") == nullptr);
  CHECK(find_entity("ZZ") == nullptr);  // after every row
  CHECK(find_entity("0A") == nullptr);  // before every row
  CHECK(find_entity("") == nullptr);
  CHECK(find_entity("KH") == nullptr);  // a beginning of a prefix is not a prefix
  CHECK(find_entity(ENTITY_TABLE.front().prefix) == &ENTITY_TABLE.front());
  CHECK(find_entity(ENTITY_TABLE.back().prefix) == &ENTITY_TABLE.back());
}

TEST_CASE("every row is found by its own prefix") {
  for (const EntityEntry& row : ENTITY_TABLE) CHECK(find_entity(row.prefix) == &row);
}
