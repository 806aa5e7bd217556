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
  CHECK(band_index_of("20M") == 6);
  CHECK(band_index_of("20m") == 6);
  CHECK(band_index_of("20") == 6);
  CHECK(band_index_of("20CM") == 6);
  CHECK(band_index_of("160m") == 1);
  CHECK(band_index_of("2m") == 13);
  CHECK(band_index_of("70CM") == 0);
  CHECK(band_index_of("2190M") == 0);
  CHECK(band_index_of("1.25M") == 0);
  CHECK(band_index_of("") == 0);
  CHECK(band_index_of("0") == 0);
  CHECK(band_index_of(static_cast<const AdifField*>(nullptr)) == 0);
  for (int i = 1; i <= 13; ++i) CHECK(band_index_of(BAND_NAMES[static_cast<size_t>(i)]) == i);
}

TEST_CASE("a BAND alone or a FREQ alone places the QSO") {
  CHECK(band_of({{"BAND", "20m"}}).index == 6);
  CHECK(band_of({{"FREQ", "14.074"}}).index == 6);
  CHECK(band_of({{"BAND", "20CM"}}).index == 6);
  CHECK(band_of({{"FREQ", "5.3"}}).index == 3);
  const BandResult ok = band_of({{"BAND", "20m"}, {"FREQ", "14.2"}});
  CHECK(ok.index == 6);
  CHECK(ok.reason.empty());
}

TEST_CASE("frequencies at the band edges and the tolerance") {
  CHECK(band_of({{"FREQ", "13.9995"}}).index == 6);
  CHECK(band_of({{"FREQ", "13.999"}}).index == 0);
  CHECK(band_of({{"FREQ", "14.35"}}).index == 6);
  CHECK(band_of({{"FREQ", "14.3505"}}).index == 0);
  CHECK(band_of({{"FREQ", "1.8"}}).index == 1);
  CHECK(band_of({{"FREQ", "148"}}).index == 13);
  for (const char* bad : {"5.5", "148.5", "0", "", "abc", "-14.1", "nan", "inf"}) {
    CAPTURE(bad);
    const BandResult r = band_of({{"FREQ", bad}});
    CHECK(r.index == 0);
    CHECK(r.reason == std::string("has an invalid frequency (") + bad + ")");
    CHECK(r.stats.bad_frequency == 1);
  }
  for (int i = 1; i <= 13; ++i) {
    const BandEdges& e = BAND_EDGES[static_cast<size_t>(i - 1)];
    CHECK(band_index_of_frequency(e.lower) == i);
    CHECK(band_index_of_frequency(e.upper) == i);
    CHECK(band_index_of_frequency(e.upper + 0.0001) == 0);
  }
}

TEST_CASE("no BAND and no FREQ") {
  const BandResult r = band_of({{"CALL", "K1ABC"}});
  CHECK(r.index == 0);
  CHECK(r.reason == "does not have either BAND or FREQ");
  CHECK(r.stats.no_band_or_frequency == 1);
}

TEST_CASE("an invalid band") {
  const BandResult r = band_of({{"BAND", "70CM"}});
  CHECK(r.index == 0);
  CHECK(r.reason == "has an invalid band (70CM)");
  CHECK(r.stats.bad_band == 1);
}

TEST_CASE("an invalid frequency is reported before an invalid band") {
  const BandResult r = band_of({{"BAND", "70CM"}, {"FREQ", "430.1"}});
  CHECK(r.reason == "has an invalid frequency (430.1)");
  CHECK(r.stats.bad_frequency == 1);
  CHECK(r.stats.bad_band == 0);
}

TEST_CASE("BAND and FREQ must name the same band, as whole texts") {
  const BandResult r = band_of({{"BAND", "20M"}, {"FREQ", "7.074"}});
  CHECK(r.index == 0);
  CHECK(r.reason == "Band (20M) does not match Frequency (7.074)");
  CHECK(r.stats.band_frequency_mismatch == 1);
  const BandResult bare = band_of({{"BAND", "20"}, {"FREQ", "14.2"}});
  CHECK(bare.index == 0);
  CHECK(bare.reason == "Band (20) does not match Frequency (14.2)");
}

TEST_CASE("the operator's band selection") {
  CHECK(band_of({{"BAND", "40m"}}, 4).index == 4);
  const BandResult by_band = band_of({{"BAND", "20m"}}, 4);
  CHECK(by_band.index == 0);
  CHECK(by_band.reason == "20m is not for the selected Band");
  CHECK(by_band.stats.not_selected_band == 1);
  const BandResult by_freq = band_of({{"FREQ", "14.2"}}, 4);
  CHECK(by_freq.reason == "20M is not for the selected Band");
  const BandResult both = band_of({{"BAND", "20m"}, {"FREQ", "14.2"}}, 4);
  CHECK(both.reason == "20M is not for the selected Band");
  CHECK(band_of({{"BAND", "20m"}}, 0).index == 6);
}

TEST_CASE("each rejection raises exactly one counter") {
  const BandResult r = band_of({{"BAND", "20m"}, {"FREQ", "7.0"}}, 6);
  const RunStats& s = r.stats;
  CHECK(s.no_band_or_frequency + s.bad_frequency + s.bad_band + s.band_frequency_mismatch +
            s.not_selected_band ==
        1);
}
