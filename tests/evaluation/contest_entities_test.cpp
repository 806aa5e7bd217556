// Special entity rules: which QSOs of Austria, Italy, Svalbard, Scotland and Turkey move to
// a contest entity, in which order the rules apply, and the lines they write.
#include <doctest/doctest.h>

#include <map>
#include <string>
#include <vector>

#include "evaluation/contest_entities.h"
#include "evaluation/field_numbers.h"
#include "records/contest.h"
#include "support/log_capture.h"
#include "support/qso_builder.h"

using namespace tarvenix;
using tarvenix::testing::LogCapture;
using tarvenix::testing::make_record;

namespace {

// The day of the QSOs, as the evaluation hands it to the rules.
const std::string day = std::to_string(CONTEST_YEAR) + "-03-15";

// The code returned, then the lines written and the counts of notes and warnings.
std::string move(std::string_view call, std::string_view dxcc, std::string_view iota = {}) {
  QsoRecord record = make_record({{"CALL", call}, {"DXCC", dxcc}});
  if (!iota.empty()) record.add_field("IOTA", iota, static_cast<int32_t>(iota.size()));
  RunStats stats;
  stats.qsos_read = 12;
  LogCapture capture;
  const int32_t code = special_entity_code(record, leading_int(dxcc), day, stats, capture.log);
  return std::to_string(code) + " " + capture.text() + "n" + std::to_string(capture.log.notes) +
         " w" + std::to_string(capture.log.warnings);
}

}  // namespace

TEST_CASE("the moves of Austria, Italy, Svalbard, Scotland and Turkey, in their order") {
  // only these five parent entities have special entities
  for (int32_t code : {206, 248, 259, 279, 390}) CHECK(has_special_entities(code));
  for (int32_t code : {0, 1, 291, 901, 906}) CHECK_FALSE(has_special_entities(code));
  // Vienna's fixed calls must begin with "4U"; Italy's call rules come before IOTA, Turkey's
  // IOTA before its patterns and the /1 suffix; other codes are returned unchanged.
  // clang-format off
  const struct { const char* dxcc; const char* iota; int32_t code; std::vector<std::string_view> calls; } groups[] = {
      {"206", "", 901, {"4U1VIC", "4U70VIC", "4U1vic", "4U0R", "4U1A", "4U1XMAS", "4U2U", "4UNR"}},
      {"206", "", 901, {"4Y1A", "C7A"}},
      {"206", "", 206, {"4U1ITU", "4u1a", "4u1vic", "4U1AX", "OE1ABC"}},
      {"206", "EU-025", 901, {"4Y1A"}},
      {"248", "", 904, {"IT9ABC", "it9abc"}},
      {"248", "", 903, {"IG9ABC", "IH9XYZ", "K1ABC/IH9"}},
      {"248", "", 248, {"IT9ABC/P", "I1ABC"}},
      {"248", "EU-025", 904, {"I1ABC"}},
      {"248", "EU-166", 904, {"I1ABC"}},
      {"248", "AF-018", 903, {"I1ABC"}},
      {"248", "AF-019", 903, {"I1ABC"}},
      {"248", "EU-001", 248, {"I1ABC"}},
      {"248", "eu-025", 248, {"I1ABC"}},
      {"248", "AF-018", 904, {"IT9ABC"}},
      {"259", "EU-027", 905, {"JW5X"}},
      {"259", "", 259, {"JW5X"}},
      {"259", "EU-026", 259, {"JW5X"}},
      {"279", "EU-012", 902, {"GM3ABC"}},
      {"279", "", 279, {"MM0ABC"}},
      {"390", "", 906, {"TA1ABC", "TC1XY", "YM1ABC", "TA2ABC/1"}},
      {"390", "", 390, {"TA2ABC", "TA1"}},
      {"390", "EU-186", 906, {"TA2ABC"}},
      {"291", "EU-025", 291, {"IT9ABC"}},
  };
  // clang-format on
  // each move writes exactly one INFO line and one note, and nothing else writes
  // clang-format off
  const std::map<int32_t, const char*> names = {{901, "ITU Vienna Int'l Center"}, {902, "Shetland Is."},
      {903, "African Italy"}, {904, "Sicily"}, {905, "Bear Is."}, {906, "European Turkey"}};
  // clang-format on
  for (const auto& g : groups) {
    CAPTURE(g.iota);
    for (std::string_view call : g.calls) {
      CAPTURE(call);
      CHECK(move(call, g.dxcc, g.iota) ==
            std::to_string(g.code) + " " +
                (g.code < 901 ? "n0 w0"
                              : "INFO:\tQSO #   12 with " + std::string(call) + " on " + day +
                                    " is " + names.at(g.code) + "\nn1 w0"));
    }
  }
  for (const char* iota : {"", "EU-025"}) {  // a portable Sicilian call is not moved by IOTA
    CHECK(move("IT9ABC/3", "248", iota) ==
          "248 WARN:\tIT9ABC/3 on " + day + " is not Sicily\nn0 w1");
  }
  CHECK(move(std::string(1 << 20, '/') + "1", "390").starts_with("906 "));  // in one pass
}
