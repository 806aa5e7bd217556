// Where a QSO's zone comes from: the state and province table, locators and positions on
// both sides of each North American boundary and astride it, malformed fields, and the log's
// CQZ judged against its entity's zones in the real country file.
#include <doctest/doctest.h>

#include <string>
#include <utility>
#include <vector>

#include "countryfile/country_file_read.h"
#include "evaluation/subdivision_zones.h"
#include "evaluation/zone_evidence.h"
#include "evaluation/zone_map.h"
#include "support/qso_builder.h"

using namespace tarvenix;
using tarvenix::testing::make_record;

TEST_CASE("the state and province table, one row per zone; split provinces have none") {
  // clang-format off
  const struct { int32_t dxcc; const char* code; int zone; } rows[] = {
      {united_states, "wa", 3}, {united_states, "TX", 4},  {united_states, "NY", 5},
      {canada, "YT", 1},        {canada, "BC", 3},         {canada, "ON", 4},
      {canada, "NS", 5},        {canada, "QC", 0},         {united_states, "BC", 0},
      {united_states, "N", 0},  {united_states, "NYC", 0}, {230, "NY", 0},
  };
  // clang-format on
  for (const auto& row : rows) {
    CAPTURE(row.code);
    CHECK(subdivision_zone(row.dxcc, row.code) == row.zone);
  }
}

TEST_CASE("places on both sides of each boundary, and squares astride it") {
  // 6-character squares on either side; the 4-character square holds the boundary.
  // clang-format off
  const struct { int32_t dxcc; const char* a; int zone_a; const char* b; int zone_b; const char* astride; } rows[] = {
      {united_states, "DN26jo", 3, "DN36ao", 4, "DN26"},  // Idaho, Montana
      {united_states, "DM54ia", 3, "DM54oa", 4, "DM54"},  // Arizona, New Mexico
      {united_states, "EN91pa", 4, "EN91ua", 5, "EN91"},  // Ohio, Pennsylvania
      {united_states, "EM73em", 4, "EM73mm", 5, "EM73"},  // Alabama, Georgia
      {canada, "DO11mh", 3, "DO21xb", 4, "DO21"},         // British Columbia, Alberta
      {canada, "FN25ga", 4, "FN35em", 5, "FN25"},         // Ontario, Quebec
      {canada, "GO11sr", 2, "GO21fi", 5, "GO11"},         // Labrador, Newfoundland
      {canada, "DP20mh", 1, "DO29mq", 4, nullptr},        // 60 N
      {canada, "DP85sa", 1, "DP95ga", 2, nullptr},        // 102 W
      {canada, "FO50ah", 2, "FN59aq", 5, nullptr},        // 50 N in Quebec
  };
  // clang-format on
  for (const auto& row : rows) {
    CAPTURE(row.a);
    CHECK(zone_at(row.dxcc, *locator_area(row.a)) == row.zone_a);
    CHECK(zone_at(row.dxcc, *locator_area(row.b)) == row.zone_b);
    if (row.astride != nullptr) CHECK(zone_at(row.dxcc, *locator_area(row.astride)) == 0);
  }
  CHECK(zone_at(united_states, *locator_area("FN42")) == 5);  // land of one zone, and sea
  CHECK(zone_at(united_states, *locator_area("IO91")) == 0);  // no state
  CHECK(zone_at(230, *locator_area("FN42")) == 0);            // no map for the entity
}

TEST_CASE("the record's fields in their order; malformed ones are passed over") {
  const std::string lat = "N040 42.768", lon = "W074 00.360";  // New York, zone 5
  // clang-format off
  const struct { std::vector<std::pair<std::string_view, std::string_view>> fields; int zone; const char* source; } rows[] = {
      {{{"STATE", "ca"}, {"GRIDSQUARE", "FN42"}}, 3, "ca"},
      {{{"STATE", "QQ"}, {"LAT", lat}, {"LON", lon}, {"GRIDSQUARE", "CM87"}}, 5, "N040 42.768"},
      {{{"LAT", lat}, {"LON", "W074 00.36"}, {"GRIDSQUARE", "cm87wt12"}}, 3, "cm87wt12"},
      {{{"LAT", "N091 00.000"}, {"LON", lon}}, 0, ""}, {{{"LAT", "N040 60.000"}, {"LON", lon}}, 0, ""},
      {{{"LAT", "E040 42.768"}, {"LON", lon}}, 0, ""}, {{{"LAT", lat}, {"LON", "W181 00.000"}}, 0, ""},
      {{{"LAT", lat}, {"LON", "W07a 00.360"}}, 0, ""}, {{{"GRIDSQUARE", "FN4"}}, 0, ""},
      {{{"GRIDSQUARE", "FN42AY"}}, 0, ""}, {{{"GRIDSQUARE", "SN42"}}, 0, ""},
      {{{"GRIDSQUARE", "FN42aa1"}}, 0, ""}, {{{"GRIDSQUARE", "FN4Z"}}, 0, ""},
  };
  // clang-format on
  for (const auto& row : rows) {
    QsoRecord record;
    for (const auto& [name, value] : row.fields)
      record.add_field(name, value, static_cast<int32_t>(value.size()));
    const ZoneFinding found = zone_from_record(record, united_states);
    CHECK(std::to_string(found.zone) + " " + std::string(found.text) ==
          std::to_string(row.zone) + " " + row.source);
  }
  const QsoRecord quebec = make_record({{"VE_PROV", "QC"}, {"STATE", "ON"}});
  CHECK(zone_from_record(quebec, canada).zone == 4);  // QC needs a position; STATE tells
}

TEST_CASE("the log's CQZ stands only when it is a zone of its entity") {
  static const Result<CountryFile> read = read_country_file(TARVENIX_INSTALLED_COUNTRY_FILE);
  REQUIRE(read.ok());
  // clang-format off
  const struct { const char* call; int32_t dxcc; const char* cqz; std::string found; } rows[] = {
      {"G3XYZ", 223, "14", "14 log"},
      {"G3XYZ", 223, "27", "14 call impossible 27"},  // the ITU zone
      {"G3XYZ", 223, "0", "14 call impossible 0"},
      {"G3XYZ", 223, "41", "14 call impossible 41"},
      {"K6XX", 291, "5", "5 log"},  // any zone of the entity
      {"W1AW", 291, "14", "4 state impossible 14"},
      {"KG4W", 105, "5", "8 call impossible 5"},  // the call is in another entity
      {"XX9XX", 999, "41", "0 log"},              // an entity the file lacks
  };
  // clang-format on
  for (const auto& row : rows) {
    const QsoRecord record = make_record({{"CQZ", row.cqz}, {"STATE", "TN"}});
    CallCountry country(&read.value(), row.call);
    const ZoneFinding found = find_zone(record, row.dxcc, country);
    const char* sources[] = {"log", "state", "position", "grid square", "call"};
    std::string text = std::to_string(found.zone) + " " + sources[static_cast<int>(found.source)];
    if (found.impossible) text += " impossible " + std::to_string(found.logged);
    CHECK(std::string(row.call) + " " + text == std::string(row.call) + " " + row.found);
  }
}
