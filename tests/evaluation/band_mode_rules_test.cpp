// Band and mode rules: band names, band edges with their tolerance, mismatches, the mode
// classes with exact matching, and the operator's band and mode selection.
#include <doctest/doctest.h>

#include <string>

#include "evaluation/band_rules.h"
#include "evaluation/mode_rules.h"
#include "support/qso_builder.h"

using namespace tarvenix;

namespace {

struct RuleResult {
  int index;  // the band, or the mode class
  std::string reason;
  RunStats stats;
};

// Applies one rule with the operator's selection in `selection`; the message slot starts with
// text so that each answer is seen to replace it.
RuleResult rule_of(int (*check)(const QsoRecord&, OperatorConfig&, RunStats&),
                   uint8_t OperatorConfig::*selection, tarvenix::testing::FieldList fields,
                   int selected) {
  const QsoRecord record = tarvenix::testing::make_record(fields);
  OperatorConfig config;
  config.*selection = static_cast<uint8_t>(selected);
  config.message = "left over";
  RuleResult result;
  result.index = check(record, config, result.stats);
  result.reason = config.message;
  return result;
}

RuleResult band_of(tarvenix::testing::FieldList fields, int selected = 0) {
  return rule_of(check_band, &OperatorConfig::band_index, fields, selected);
}

RuleResult mode_of(tarvenix::testing::FieldList fields, int selected = 0) {
  return rule_of(check_mode, &OperatorConfig::mode_index, fields, selected);
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
  using R = RunStats;
  // clang-format off
  const Row rows[] = {
      {{{"BAND", "20m"}}, 0, 6, "", nullptr},
      {{{"FREQ", "5.3"}}, 0, 3, "", nullptr},
      {{{"BAND", "20m"}, {"FREQ", "14.2"}}, 0, 6, "", nullptr},
      {{{"BAND", "40m"}}, 4, 4, "", nullptr},
      {{{"CALL", "K1ABC"}}, 0, 0, "does not have either BAND or FREQ", &R::no_band_or_frequency},
      {{{"BAND", "70CM"}}, 0, 0, "has an invalid band (70CM)", &R::bad_band},
      // an invalid frequency is reported before an invalid band
      {{{"BAND", "70CM"}, {"FREQ", "430.1"}}, 0, 0, "has an invalid frequency (430.1)", &R::bad_frequency},
      // BAND and FREQ must name the same band, as whole texts
      {{{"BAND", "20M"}, {"FREQ", "7.074"}}, 0, 0, "Band (20M) does not match Frequency (7.074)", &R::band_frequency_mismatch},
      {{{"BAND", "20"}, {"FREQ", "14.2"}}, 0, 0, "Band (20) does not match Frequency (14.2)", &R::band_frequency_mismatch},
      {{{"BAND", "20m"}}, 4, 0, "20m is not for the selected Band", &R::not_selected_band},
      {{{"FREQ", "14.2"}}, 4, 0, "20M is not for the selected Band", &R::not_selected_band},
      {{{"BAND", "20m"}, {"FREQ", "14.2"}}, 4, 0, "20M is not for the selected Band", &R::not_selected_band},
      // a mismatch is reported before the selection
      {{{"BAND", "20m"}, {"FREQ", "7.0"}}, 6, 0, "Band (20m) does not match Frequency (7.0)", &R::band_frequency_mismatch},
  };
  // clang-format on
  for (const Row& row : rows) {
    CAPTURE(row.reason);
    CAPTURE(row.selected);
    const RuleResult r = band_of(row.fields, row.selected);
    CHECK(r.index == row.index);
    CHECK(r.reason == row.reason);
    for (const Row& other : rows) {  // each rejection raises exactly one counter
      if (other.counter != nullptr) CHECK(r.stats.*other.counter == (other.counter == row.counter));
    }
  }
  for (const char* bad : {"5.5", "148.5", "0", "", "abc", "-14.1", "nan", "inf"}) {
    CAPTURE(bad);
    const RuleResult r = band_of({{"FREQ", bad}});
    CHECK(r.index == 0);
    CHECK(r.reason == std::string("has an invalid frequency (") + bad + ")");
    CHECK(r.stats.bad_frequency == 1);
  }
}

TEST_CASE("mode classes with exact matching, a missing MODE, and the operator's selection") {
  for (std::string_view m : PHONE_MODES) CHECK(mode_class_of(m) == 2);
  for (std::string_view m : DIGITAL_MODES) CHECK(mode_class_of(m) == 3);
  // SUBMODE is not consulted; a missing MODE raises no counter
  const struct {
    tarvenix::testing::FieldList fields;
    int selected, index;
    std::string reason;
    int bad_mode, not_selected;
  } rows[] = {
      {{{"MODE", "CW"}}, 0, 1, "", 0, 0},
      {{{"MODE", "SSB"}}, 0, 2, "", 0, 0},
      {{{"MODE", "FT8"}}, 0, 3, "", 0, 0},
      {{{"MODE", "SSB"}}, 2, 2, "", 0, 0},
      {{{"MODE", "FT8"}}, 3, 3, "", 0, 0},
      {{{"MODE", "CW"}}, 2, 0, "CW is not for the selected Mode", 0, 1},
      {{{"SUBMODE", "FT4"}}, 0, 0, "did not specify a Mode", 0, 0},
  };
  for (const auto& row : rows) {
    CAPTURE(row.reason);
    const RuleResult r = mode_of(row.fields, row.selected);
    CHECK(r.index == row.index);
    CHECK(r.reason == row.reason);
    CHECK(r.stats.bad_mode == row.bad_mode);
    CHECK(r.stats.not_selected_mode == row.not_selected);
  }
  for (const char* m : {"cw", "PSK31", "JS8", "", "A", "ZZZZ", "CW "}) {
    CAPTURE(m);
    const RuleResult r = mode_of({{"MODE", m}});
    CHECK(r.index == 0);
    CHECK(r.reason == std::string("has an invalid Mode (") + m + ")");
    CHECK(r.stats.bad_mode == 1);
  }
}
