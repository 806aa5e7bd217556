// Band and mode rules: band names, band edges with their tolerance, mismatches, the mode
// classes with exact matching, and the operator's band and mode selection.
#include <doctest/doctest.h>

#include <string>

#include "evaluation/band_rules.h"
#include "evaluation/mode_rules.h"
#include "support/qso_builder.h"

using namespace tarvenix;

namespace {

// The rule's answer, its reason and the counter it names, e.g. "0 has an invalid band (70CM)
// band1".
template <typename Selection>
std::string rule_of(RuleAnswer (*check)(const QsoRecord&, Selection),
                    tarvenix::testing::FieldList fields, int selected) {
  const QsoRecord record = tarvenix::testing::make_record(fields);
  const RuleAnswer answer = check(record, static_cast<Selection>(selected));
  RunStats s;
  if (answer.counter != nullptr) ++(s.*answer.counter);
  std::string out = std::to_string(answer.value);
  if (!answer.reason.empty()) out += " " + answer.reason;
  const std::pair<const char*, int32_t> counters[] = {
      {"none", s.no_band_or_frequency},        {"freq", s.bad_frequency},      {"band", s.bad_band},
      {"mismatch", s.band_frequency_mismatch}, {"band?", s.not_selected_band}, {"mode", s.bad_mode},
      {"mode?", s.not_selected_mode}};
  for (const auto& [name, n] : counters)
    if (n != 0) out.append(" ").append(name).append(std::to_string(n));
  return out;
}

std::string band_of(tarvenix::testing::FieldList fields, int selected = 0) {
  return rule_of(check_band, fields, selected);
}

std::string mode_of(tarvenix::testing::FieldList fields, int selected = 0) {
  return rule_of(check_mode, fields, selected);
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

TEST_CASE("BAND, FREQ, MODE and the operator's band and mode selection") {
  // band: false for the mode rule
  // clang-format off
  const struct { bool band; tarvenix::testing::FieldList fields; int selected; const char* result; } rows[] = {
      {true, {{"BAND", "20m"}}, 0, "6"},
      {true, {{"FREQ", "5.3"}}, 0, "3"},
      {true, {{"BAND", "20m"}, {"FREQ", "14.2"}}, 0, "6"},
      {true, {{"BAND", "40m"}}, 4, "4"},
      {true, {{"CALL", "K1ABC"}}, 0, "0 does not have either BAND or FREQ none1"},
      {true, {{"BAND", "70CM"}}, 0, "0 has an invalid band (70CM) band1"},
      // an invalid frequency is reported before an invalid band
      {true, {{"BAND", "70CM"}, {"FREQ", "430.1"}}, 0, "0 has an invalid frequency (430.1) freq1"},
      // BAND and FREQ must name the same band, as whole texts
      {true, {{"BAND", "20M"}, {"FREQ", "7.074"}}, 0, "0 Band (20M) does not match Frequency (7.074) mismatch1"},
      {true, {{"BAND", "20"}, {"FREQ", "14.2"}}, 0, "0 Band (20) does not match Frequency (14.2) mismatch1"},
      {true, {{"BAND", "20m"}}, 4, "0 20m is not for the selected Band band?1"},
      {true, {{"FREQ", "14.2"}}, 4, "0 20M is not for the selected Band band?1"},
      {true, {{"BAND", "20m"}, {"FREQ", "14.2"}}, 4, "0 20M is not for the selected Band band?1"},
      // a mismatch is reported before the selection
      {true, {{"BAND", "20m"}, {"FREQ", "7.0"}}, 6, "0 Band (20m) does not match Frequency (7.0) mismatch1"},
      {false, {{"MODE", "CW"}}, 0, "1"},
      {false, {{"MODE", "SSB"}}, 0, "2"},
      {false, {{"MODE", "FT8"}}, 0, "3"},
      {false, {{"MODE", "SSB"}}, 2, "2"},
      {false, {{"MODE", "FT8"}}, 3, "3"},
      {false, {{"MODE", "CW"}}, 2, "0 CW is not for the selected Mode mode?1"},
      // SUBMODE is not consulted; a missing MODE raises no counter
      {false, {{"SUBMODE", "FT4"}}, 0, "0 did not specify a Mode"},
      // clang-format on
  };
  for (const auto& row : rows)
    CHECK((row.band ? band_of : mode_of)(row.fields, row.selected) == row.result);
  for (const char* bad : {"5.5", "148.5", "0", "", "abc", "-14.1", "nan", "inf"}) {
    CHECK(band_of({{"FREQ", bad}}) ==
          std::string("0 has an invalid frequency (") + bad + ") freq1");
  }
  for (std::string_view m : PHONE_MODES) CHECK(mode_class_of(m) == 2);
  for (std::string_view m : DIGITAL_MODES) CHECK(mode_class_of(m) == 3);
  for (const char* m : {"cw", "PSK31", "JS8", "", "A", "ZZZZ", "CW "}) {
    CHECK(mode_of({{"MODE", m}}) == std::string("0 has an invalid Mode (") + m + ") mode1");
  }
}
