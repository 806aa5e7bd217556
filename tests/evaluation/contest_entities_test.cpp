// Special entity rules: which QSOs of Austria, Italy, Svalbard, Scotland and Turkey move to
// a contest entity, in which order the rules apply, and the lines they write.
#include <doctest/doctest.h>

#include <string>

#include "evaluation/contest_entities.h"
#include "evaluation/field_numbers.h"
#include "support/log_capture.h"
#include "support/qso_builder.h"

using namespace tarvenix;
using tarvenix::testing::LogCapture;
using tarvenix::testing::make_record;

namespace {

struct Moved {
  int32_t code;
  std::string log;
  int notes;
  int warnings;
};

Moved move(std::string_view call, std::string_view dxcc, std::string_view iota = {}) {
  QsoRecord record = make_record({{"CALL", call}, {"DXCC", dxcc}});
  if (!iota.empty()) record.add_field("IOTA", iota, static_cast<int32_t>(iota.size()));
  RunStats stats;
  stats.qsos_read = 12;
  LogCapture capture;
  const int32_t code =
      special_entity_code(record, leading_int(dxcc), "2024-03-15", stats, capture.log);
  return {code, capture.text(), capture.log.notes, capture.log.warnings};
}

int32_t code_of(std::string_view call, std::string_view dxcc, std::string_view iota = {}) {
  return move(call, dxcc, iota).code;
}

}  // namespace

TEST_CASE("only the five parent entities have special entities") {
  for (int32_t code : {206, 248, 259, 279, 390}) CHECK(has_special_entities(code));
  for (int32_t code : {0, 1, 291, 901, 906}) CHECK_FALSE(has_special_entities(code));
}

TEST_CASE("Austria: ITU Vienna by pattern and by fixed calls") {
  CHECK(code_of("4U1VIC", "206") == 901);
  CHECK(code_of("4U70VIC", "206") == 901);
  CHECK(code_of("4U1vic", "206") == 901);
  CHECK(code_of("4U1ITU", "206") == 206);
  for (const char* call : {"4U0R", "4U1A", "4U1XMAS", "4U2U", "4UNR", "4Y1A", "C7A"})
    CHECK(code_of(call, "206") == 901);
  CHECK(code_of("4u1a", "206") == 206);    // does not begin with "4U"
  CHECK(code_of("4u1vic", "206") == 206);  // likewise, although the pattern ignores case
  CHECK(code_of("4U1AX", "206") == 206);
  CHECK(code_of("OE1ABC", "206") == 206);
  CHECK(code_of("4Y1A", "206", "EU-025") == 901);
}

TEST_CASE("Italy: Sicily, the portable warning, African Italy, then IOTA") {
  CHECK(code_of("IT9ABC", "248") == 904);
  CHECK(code_of("it9abc", "248") == 904);
  const Moved portable = move("IT9ABC/3", "248");
  CHECK(portable.code == 248);
  CHECK(portable.log == "WARN:\tIT9ABC/3 on 2024-03-15 is not Sicily\n");
  CHECK(portable.warnings == 1);
  CHECK(portable.notes == 0);
  CHECK(code_of("IT9ABC/P", "248") == 248);
  CHECK(code_of("IG9ABC", "248") == 903);
  CHECK(code_of("IH9XYZ", "248") == 903);
  CHECK(code_of("K1ABC/IH9", "248") == 903);
  CHECK(code_of("I1ABC", "248", "EU-025") == 904);
  CHECK(code_of("I1ABC", "248", "EU-166") == 904);
  CHECK(code_of("I1ABC", "248", "AF-018") == 903);
  CHECK(code_of("I1ABC", "248", "AF-019") == 903);
  CHECK(code_of("I1ABC", "248", "EU-001") == 248);
  CHECK(code_of("I1ABC", "248", "eu-025") == 248);
  CHECK(code_of("I1ABC", "248") == 248);
  CHECK(code_of("IT9ABC", "248", "AF-018") == 904);    // the call rule comes first
  CHECK(code_of("IT9ABC/3", "248", "EU-025") == 248);  // the warning decides
}

TEST_CASE("Svalbard and Scotland move by IOTA only") {
  CHECK(code_of("JW5X", "259", "EU-027") == 905);
  CHECK(code_of("JW5X", "259") == 259);
  CHECK(code_of("JW5X", "259", "EU-026") == 259);
  CHECK(code_of("GM3ABC", "279", "EU-012") == 902);
  CHECK(code_of("MM0ABC", "279") == 279);
}

TEST_CASE("Turkey: IOTA, the two patterns, then the /1 suffix") {
  CHECK(code_of("TA1ABC", "390") == 906);
  CHECK(code_of("TC1XY", "390") == 906);
  CHECK(code_of("YM1ABC", "390") == 906);
  CHECK(code_of("TA2ABC/1", "390") == 906);
  CHECK(code_of("TA2ABC", "390") == 390);
  CHECK(code_of("TA2ABC", "390", "EU-186") == 906);
  CHECK(code_of("TA1", "390") == 390);
}

TEST_CASE("other codes are returned unchanged") {
  const Moved m = move("IT9ABC", "291", "EU-025");
  CHECK(m.code == 291);
  CHECK(m.log.empty());
}

TEST_CASE("each move writes exactly one INFO line and one note") {
  struct Case {
    const char* call;
    const char* dxcc;
    const char* iota;
    const char* name;
  };
  const Case cases[] = {{"4U1VIC", "206", "", "ITU Vienna Int'l Center"},
                        {"GM3ABC", "279", "EU-012", "Shetland Is."},
                        {"IG9ABC", "248", "", "African Italy"},
                        {"IT9ABC", "248", "", "Sicily"},
                        {"JW5X", "259", "EU-027", "Bear Is."},
                        {"TA1ABC", "390", "", "European Turkey"}};
  for (const Case& c : cases) {
    const Moved m = move(c.call, c.dxcc, c.iota);
    CHECK(m.notes == 1);
    CHECK(m.warnings == 0);
    CHECK(m.log ==
          std::string("INFO:\tQSO #   12 with ") + c.call + " on 2024-03-15 is " + c.name + "\n");
  }
}

TEST_CASE("a call of a megabyte is handled without trouble") {
  const std::string call = "IT9" + std::string(1 << 20, 'Q');
  CHECK(code_of(call, "248") == 904);
  CHECK(code_of(std::string(1 << 20, '/') + "1", "390") == 906);
}
