// Band and frequency rules: band names, band edges with their tolerance, mismatches and the
// operator's band selection.
#include <doctest/doctest.h>

#include <string>

#include "evaluation/band_rules.h"
#include "support/qso_builder.h"

using namespace tarvenix;
using tarvenix::testing::make_record;

namespace {

struct BandResult {
  int index;
  std::string reason;
  RunStats stats;
};

BandResult band_of(tarvenix::testing::FieldList fields, int selected = 0) {
  const QsoRecord record = make_record(fields);
  OperatorConfig config;
  config.band_index = static_cast<uint8_t>(selected);
  config.message = "left over";
  BandResult result;
  result.index = check_band(record, config, result.stats);
  result.reason = config.message;
  return result;
}

}  // namespace

TEST_CASE("band texts are known by their leading number") {
  for (int i = 1; i <= 13; ++i) CHECK(band_index_of(BAND_NAMES[static_cast<size_t>(i)]) == i);
  CHECK(band_index_of("20CM") == 6);
  for (const char* bad : {"70CM", "2190M", "1.25M", "", "0"}) CHECK(band_index_of(bad) == 0);
  CHECK(band_index_of(static_cast<const AdifField*>(nullptr)) == 0);
}

TEST_CASE("frequencies at the band edges and the tolerance") {
  CHECK(band_index_of_frequency(13.9995) == 6);
  CHECK(band_index_of_frequency(13.999) == 0);
  for (int i = 1; i <= 13; ++i) {
    const BandEdges& e = BAND_EDGES[static_cast<size_t>(i - 1)];
    CHECK(band_index_of_frequency(e.lower) == i);
    CHECK(band_index_of_frequency(e.upper) == i);
    CHECK(band_index_of_frequency(e.upper + 0.0001) == 0);
  }
}

TEST_CASE("BAND, FREQ and the operator's band selection") {
  struct Row {
    tarvenix::testing::FieldList fields;
    int selected;
    int index;
    const char* reason;
    int32_t RunStats::*counter;  // null: accepted
  };
  const Row rows[] = {
      {{{"BAND", "20m"}}, 0, 6, "", nullptr},
      {{{"FREQ", "5.3"}}, 0, 3, "", nullptr},
      {{{"BAND", "20m"}, {"FREQ", "14.2"}}, 0, 6, "", nullptr},
      {{{"BAND", "40m"}}, 4, 4, "", nullptr},
      {{{"CALL", "K1ABC"}},
       0,
       0,
       "does not have either BAND or FREQ",
       &RunStats::no_band_or_frequency},
      {{{"BAND", "70CM"}}, 0, 0, "has an invalid band (70CM)", &RunStats::bad_band},
      // an invalid frequency is reported before an invalid band
      {{{"BAND", "70CM"}, {"FREQ", "430.1"}},
       0,
       0,
       "has an invalid frequency (430.1)",
       &RunStats::bad_frequency},
      // BAND and FREQ must name the same band, as whole texts
      {{{"BAND", "20M"}, {"FREQ", "7.074"}},
       0,
       0,
       "Band (20M) does not match Frequency (7.074)",
       &RunStats::band_frequency_mismatch},
      {{{"BAND", "20"}, {"FREQ", "14.2"}},
       0,
       0,
       "Band (20) does not match Frequency (14.2)",
       &RunStats::band_frequency_mismatch},
      {{{"BAND", "20m"}}, 4, 0, "20m is not for the selected Band", &RunStats::not_selected_band},
      {{{"FREQ", "14.2"}}, 4, 0, "20M is not for the selected Band", &RunStats::not_selected_band},
      {{{"BAND", "20m"}, {"FREQ", "14.2"}},
       4,
       0,
       "20M is not for the selected Band",
       &RunStats::not_selected_band},
      // a mismatch is reported before the selection
      {{{"BAND", "20m"}, {"FREQ", "7.0"}},
       6,
       0,
       "Band (20m) does not match Frequency (7.0)",
       &RunStats::band_frequency_mismatch},
  };
  for (const Row& row : rows) {
    CAPTURE(row.reason);
    CAPTURE(row.selected);
    const BandResult r = band_of(row.fields, row.selected);
    CHECK(r.index == row.index);
    CHECK(r.reason == row.reason);
    for (const Row& other : rows) {  // each rejection raises exactly one counter
      if (other.counter != nullptr) CHECK(r.stats.*other.counter == (other.counter == row.counter));
    }
  }
  for (const char* bad : {"5.5", "148.5", "0", "", "abc", "-14.1", "nan", "inf"}) {
    CAPTURE(bad);
    const BandResult r = band_of({{"FREQ", bad}});
    CHECK(r.index == 0);
    CHECK(r.reason == std::string("has an invalid frequency (") + bad + ")");
    CHECK(r.stats.bad_frequency == 1);
  }
}
