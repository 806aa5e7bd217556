// QSO evaluation: every rejection in its order with its exact line and counter, the entity
// and zone credit with its replacements (confirmed, Canada over the United States), and what
// a credited QSO records.
#include <doctest/doctest.h>

#include <map>
#include <string>
#include <vector>

#include "countryfile/country_file_read.h"
#include "evaluation/qso_evaluation.h"
#include "records/contest.h"
#include "support/log_capture.h"
#include "support/qso_builder.h"

using namespace tarvenix;
using tarvenix::testing::LogCapture;

namespace {

// A field given this value is left out of the QSO.
const std::string dropped = "<drop>";
// The standard QSO's day of the contest year, as QSO_DATE and as the run log writes it.
const std::string year = std::to_string(CONTEST_YEAR);
const std::string qso_day = year + "0315", on_day = " on " + year + "-03-15";
using Fields = std::vector<std::pair<std::string, std::string>>;

// One run's records, with the entities of the tests on the "Scoresheet".
struct Run : ConversionRun {
  Run() : capture(log) {
    for (int32_t code : {1, 206, 248, 291, 279, 902, 904, 906}) {
      CreditRecord* r = entities.create(code);
      r->code = code;
      r->row = 5 + code % 300;
    }
    const std::string first = year + "-01-01", last = year + "-12-31";
    insert_bad_call(bad_calls, {"K1BUST", 'B', first, last, "copied wrong"});
    insert_bad_call(bad_calls, {"K1INV", 'I', first, last, std::nullopt});
    insert_bad_call(bad_calls, {"K1ODD", 'X', first, last, "why"});
  }

  // Evaluates the next QSO: the standard QSO with `changes` applied. Returns the lines it wrote.
  std::string evaluate(const Fields& changes = {}) {
    std::map<std::string, std::string> fields = {
        {"CALL", "K1ABC"}, {"QSO_DATE", qso_day}, {"TIME_ON", "0930"}, {"BAND", "20m"},
        {"MODE", "CW"},    {"DXCC", "291"},       {"CQZ", "5"}};
    for (const auto& [name, value] : changes) fields[name] = value;
    QsoRecord record;
    for (const auto& [name, value] : fields)
      if (value != dropped) record.add_field(name, value, static_cast<int32_t>(value.size()));
    ++stats.qsos_read;
    const size_t before = capture.text().size();
    evaluate_qso(record, *this);
    return capture.text().substr(before);
  }

  // Every credited slot as "E<code> <call>" or "Z<zone> <call> c<code>", with " q" when
  // confirmed and any value unlike the standard QSO's or the slot's own; then the confirmed
  // counts and the lines by kind.
  std::string state() {
    std::string out;
    const auto add = [&out](const CreditTable& table, bool zone) {
      for (int i = 0; i < table.size(); ++i) {
        const CreditRecord* r = table.find(i);
        if (r == nullptr || !r->has_call()) continue;
        out += (zone ? "Z" : "E") + std::to_string(i) + " " + std::string(r->call_text());
        if (zone || r->code != i) out += " c" + std::to_string(r->code);
        if (r->zone != (zone ? i : 0)) out += " z" + std::to_string(r->zone);
        if (r->row != (zone ? i + 350 : 5 + i % 300)) out += " r" + std::to_string(r->row);
        if (r->file_dxcc != 0) out += " f" + std::to_string(r->file_dxcc);
        const std::string when = std::to_string(r->month) + "-" + std::to_string(r->day) + " " +
                                 std::to_string(r->time) + " b" + std::to_string(r->band) + " m" +
                                 std::to_string(r->mode);
        if (when != "3-15 930 b6 m1") out += " " + when;
        out += r->confirmed != 0 ? " q" + std::to_string(r->confirmed) + ", " : ", ";
      }
    };
    add(entities, false);
    add(zones, true);
    return out + "ec" + std::to_string(stats.entities_confirmed) + " zc" +
           std::to_string(stats.zones_confirmed) + " n" + std::to_string(capture.log.notes) + " w" +
           std::to_string(capture.log.warnings);
  }

  LogCapture capture;
};

}  // namespace

TEST_CASE("each rejection writes its line and raises its counter") {
  using R = RunStats;
  // line: after "WARN:\tQSO #    1"; '@' stands for " with K1ABC" and the day
  // counter: null when the rejection has none of its own
  const std::string last_year = std::to_string(CONTEST_YEAR - 1);
  // clang-format off
  struct Row { const char* field; std::string value; std::string line; int32_t RunStats::*counter; };
  const Row rows[] = {
      {"CALL", dropped, " has no callsign\n", &R::no_callsign},
      {"CALL", "", " has no callsign\n", &R::no_callsign},
      {"QSO_DATE", dropped, " with K1ABC has no QSO Date\n", &R::no_date},
      {"QSO_DATE", last_year + "1231", " with K1ABC on " + last_year + "-12-31 is not for this year\n", &R::wrong_year},
      {"TIME_ON", dropped, "@ has no QSO Time\n", &R::no_time},
      {"CALL", "K1ABC/MM", " with K1ABC/MM" + on_day + " is Maritime Mobile\n", &R::maritime_mobile},
      {"QSL_RCVD", "Ignore", "@ has QSL_RCVD = Ignore\n", &R::invalid_calls},
      {"CALL", "!K1ABC", " with !K1ABC" + on_day + " has '!' as the first letter of the callsign.\n", &R::invalid_calls},
      // band and mode rejections carry the rules' reasons
      {"BAND", dropped, "@ does not have either BAND or FREQ\n", &R::no_band_or_frequency},
      {"MODE", "cw", "@ has an invalid Mode (cw)\n", &R::bad_mode},
      {"DXCC", dropped, "@ does not have a DXCC Entity Code\n", &R::no_dxcc_prefix},
      {"DXCC", "0", "@ does not have a DXCC Entity Code\n", &R::no_dxcc_prefix},
      {"DXCC", "", "@ does not have a DXCC Entity Code\n", &R::no_dxcc_prefix},
      {"DXCC", "-5", "@ does not have a valid DXCC Entity Code (-5)\n", &R::bad_dxcc_prefix},
      // the logged text is written, not the code it saturates to
      {"DXCC", "99999999999", "@ does not have a valid DXCC Entity Code (99999999999)\n", &R::bad_dxcc_prefix},
      {"DXCC", "907", "@ does not have a valid DXCC Entity Code (907)\n", &R::bad_dxcc_prefix},
      {"DXCC", "230", "@ does not have a valid DXCC Entity Code (230)\n", &R::bad_dxcc_prefix},
      // the entity stands when the zone is rejected
      {"CQZ", dropped, "@ does not have a CQ Zone\n", &R::no_cq_zone},
      {"CQZ", "0", "@ has an invalid CQ Zone (0)\n", &R::bad_cq_zone},
      {"CQZ", "41", "@ has an invalid CQ Zone (41)\n", &R::bad_cq_zone},
      {"CQZ", "x", "@ has an invalid CQ Zone (0)\n", &R::bad_cq_zone},  // the zone read
      // the bad-call list, by category
      {"CALL", "K1BUST", " with K1BUST" + on_day + " is a busted callsign (copied wrong)\n", &R::busted_calls},
      {"CALL", "K1INV", " with K1INV" + on_day + " is an invalid callsign\n", &R::invalid_calls},
      {"CALL", "K1ODD", " with K1ODD" + on_day + " is in the bad-call list (why)\n", nullptr},
  };
  // clang-format on
  for (const Row& row : rows) {
    Run run;
    std::string line = std::string("WARN:\tQSO #    1") + row.line;
    if (const size_t at = line.find('@'); at != std::string::npos)
      line.replace(at, 1, " with K1ABC" + on_day);
    CAPTURE(line);
    // QSL_RCVD beginning with I rejects, even with a LoTW confirmation
    CHECK(run.evaluate({{row.field, row.value}, {"LOTW_QSL_RCVD", "Y"}}) == line);
    for (const Row& other : rows) {
      if (other.counter != nullptr)
        CHECK(run.stats.*other.counter == (other.counter == row.counter));
    }
    const bool zone_only = row.counter == &R::no_cq_zone || row.counter == &R::bad_cq_zone;
    CHECK(run.state() == (zone_only ? "E291 K1ABC q1, " : "") + std::string("ec0 zc0 n0 w1"));
  }
}

TEST_CASE("a QSO confirmed by any of the three QSL fields, upper-case Y only") {
  using tarvenix::testing::make_record;
  CHECK(is_confirmed(make_record({{"QSL_RCVD", "N"}, {"EQSL_QSL_RCVD", "Y"}})));
  CHECK(is_confirmed(make_record({{"LOTW_QSL_RCVD", "Yes"}})));
  CHECK_FALSE(is_confirmed(make_record({{"LOTW_QSL_RCVD", "y"}})));
  CHECK_FALSE(is_confirmed(make_record({{"QSL_RCVD", ""}})));
  CHECK_FALSE(is_confirmed(make_record({{"CALL", "K1ABC"}})));
}

TEST_CASE("credits, moves and replacements: the lines of each QSO and the run's records after") {
  // clang-format off
  struct Step { Fields changes; std::string lines; };
  // clang-format on
  const std::string mb = "IT9" + std::string(1 << 20, 'A'), mb16 = mb.substr(0, 16);
  const std::string long_call = "K1ABCDEFGHIJKLMNOPQ/MM2";
  const std::string on = on_day + " ";
  // box: the Confirmed box
  // clang-format off
  const struct { const char* what; int box; std::vector<Step> steps; std::string state; } cases[] = {
      {"an accepted QSO writes nothing", 0, {{{}, ""}}, "E291 K1ABC, Z5 K1ABC c291, ec0 zc0 n0 w0"},
      {"TIME_OFF stands in for a missing TIME_ON, its HHMMSS cut to HHMM", 0,
       {{{{"TIME_OFF", "123456"}, {"TIME_ON", dropped}}, "WARN:\tQSO #    1 with K1ABC" + on + "is using TIME_OFF because TIME_ON was not found\n"}},
       "E291 K1ABC 3-15 1234 b6 m1, Z5 K1ABC c291 3-15 1234 b6 m1, ec0 zc0 n0 w1"},
      {"calls that only look like a rejected kind, and the zones at the edges", 0, {{{{"CALL", "K1ABC/MM/2"}}, ""}, {{{"CALL", "K1ABC/mm"}, {"CQZ", "40"}}, ""}, {{{"CQZ", "1"}}, ""}},
       "E291 K1ABC/MM/2, Z1 K1ABC c291, Z5 K1ABC/MM/2 c291, Z40 K1ABC/mm c291, ec0 zc0 n0 w0"},
      {"a Sicilian call of a megabyte; a move's note is written though the entity is credited", 0,
       {{{{"CALL", mb}, {"DXCC", "248"}, {"CQZ", "15"}}, "INFO:\tQSO #    1 with " + mb + on + "is Sicily\n"}, {{{"CALL", "IT9XYZ"}, {"DXCC", "248"}, {"CQZ", "0"}},
         "INFO:\tQSO #    2 with IT9XYZ" + on + "is Sicily\nWARN:\tQSO #    2 with IT9XYZ" + on + "has an invalid CQ Zone (0)\n"}}, "E904 " + mb16 + ", Z15 " + mb16 + " c904, ec0 zc0 n2 w1"},
      {"a move to a contest entity missing from the Scoresheet is rejected after its note", 0, {{{{"CALL", "IG9ABC"}, {"DXCC", "248"}},
         "INFO:\tQSO #    1 with IG9ABC" + on + "is African Italy\nWARN:\tQSO #    1 with IG9ABC" + on + "does not have a valid DXCC Entity Code (248)\n"}}, "ec0 zc0 n1 w1"},
      {"a long call is credited with 16 characters and logged whole", 0,
       {{{{"CALL", long_call}}, ""}, {{{"CALL", long_call}, {"CQZ", "41"}}, "WARN:\tQSO #    2 with " + long_call + on + "has an invalid CQ Zone (41)\n"}},
       "E291 K1ABCDEFGHIJKLMN, Z5 K1ABCDEFGHIJKLMN c291, ec0 zc0 n0 w1"},
      {"box set: a confirmed QSO replaces the unconfirmed entity", 1,
       {{{{"CALL", "K1AAA"}}, ""}, {{{"CALL", "K1BBB"}, {"LOTW_QSL_RCVD", "Y"}, {"CQZ", "4"}}, "DXCC:\tReplaced K1AAA with K1BBB because it is confirmed\n"}},
       "E291 K1BBB q1, Z4 K1BBB c291 q1, Z5 K1AAA c291, ec1 zc1 n1 w0"},
      {"box clear: the first QSO stays, nothing is written", 0, {{{{"CALL", "K1AAA"}}, ""}, {{{"CALL", "K1BBB"}, {"LOTW_QSL_RCVD", "Y"}}, ""}}, "E291 K1AAA, Z5 K1AAA c291, ec0 zc0 n0 w0"},
      {"two confirmed QSOs: the first stays", 1, {{{{"CALL", "K1AAA"}, {"QSL_RCVD", "Y"}}, ""}, {{{"CALL", "K1BBB"}, {"QSL_RCVD", "Y"}}, ""}}, "E291 K1AAA q1, Z5 K1AAA c291 q1, ec1 zc1 n0 w0"},
      {"zone: a confirmed QSO replaces an unconfirmed one under the box", 1,
       {{{{"CALL", "K1AAA"}}, ""}, {{{"CALL", "VE1ABC"}, {"DXCC", "1"}, {"QSL_RCVD", "Y"}}, "WAZ:\t[5] Replaced K1AAA with VE1ABC because it is confirmed\n"}},
       "E1 VE1ABC q1, E291 K1AAA, Z5 VE1ABC c1 q1, ec1 zc1 n1 w0"},
      {"zone: a Canadian QSO without a slash replaces a United States one once", 0, {{{{"CALL", "K1AAA"}}, ""}, {{{"CALL", "VE1ABC/P"}, {"DXCC", "1"}}, ""},
        {{{"CALL", "VE1ABC"}, {"DXCC", "1"}}, "WAZ:\t[5] Replaced K1AAA with VE1ABC because Zone is more likely to be correct\n"},
        {{{"CALL", "K1CCC"}}, ""}, {{{"CALL", "VE2XYZ"}, {"DXCC", "1"}}, ""}}, "E1 VE1ABC/P, E291 K1AAA, Z5 VE1ABC c1, ec0 zc0 n1 w0"},
      // Canada over the United States leaves the zones' confirmed count alone
      {"zone: Canada over the United States under the box needs both QSOs confirmed", 1, {{{{"CALL", "K1AAA"}, {"QSL_RCVD", "Y"}}, ""}, {{{"CALL", "VE1ABC"}, {"DXCC", "1"}}, ""},
        {{{"CALL", "VE1XYZ"}, {"DXCC", "1"}, {"QSL_RCVD", "Y"}}, "DXCC:\tReplaced VE1ABC with VE1XYZ because it is confirmed\n"
         "WAZ:\t[5] Replaced K1AAA with VE1XYZ because Zone is more likely to be correct (and it is confirmed)\n"}}, "E1 VE1XYZ q1, E291 K1AAA q1, Z5 VE1XYZ c1 q1, ec2 zc1 n2 w0"},
      // clang-format on
  };
  for (const auto& c : cases) {
    CAPTURE(c.what);
    Run run;
    run.prefer_confirmed = c.box != 0;
    for (const Step& step : c.steps) CHECK(run.evaluate(step.changes) == step.lines);
    CHECK(run.state() == c.state);
  }
}

TEST_CASE(
    "with the country file: the zone the record tells replaces the call's, after confirmation") {
  static const Result<CountryFile> read = read_country_file(TARVENIX_INSTALLED_COUNTRY_FILE);
  REQUIRE(read.ok());
  const std::string on = " on " + std::to_string(CONTEST_YEAR) + "-03-15";
  const std::string known = " because its zone is known from the log\n";
  // clang-format off
  const struct { int box; std::vector<Fields> qsos; std::string lines; std::string state; } cases[] = {
      {0, {{{"CALL", "W1AW"}, {"CQZ", dropped}}, {{"CALL", "K4AB"}}, {{"CALL", "W1ZZ"}, {"CQZ", ""}}},
       "WAZ:\t[5] Replaced W1AW with K4AB" + known, "E291 W1AW, Z5 K4AB c291, ec0 zc0 n1 w0"},
      {1, {{{"CALL", "W1AW"}, {"CQZ", dropped}, {"QSL_RCVD", "Y"}}, {{"CALL", "K4AB"}}, {{"CALL", "K4CD"}, {"QSL_RCVD", "Y"}}},
       "WAZ:\t[5] Replaced W1AW with K4CD" + known, "E291 W1AW q1, Z5 K4CD c291 q1, ec1 zc1 n1 w0"},
      {1, {{{"CALL", "W1AW"}, {"CQZ", dropped}}, {{"CALL", "K4AB"}, {"QSL_RCVD", "Y"}}, {{"CALL", "K4CD"}}},
       "DXCC:\tReplaced W1AW with K4AB because it is confirmed\nWAZ:\t[5] Replaced W1AW with K4AB because it is confirmed\n",
       "E291 K4AB q1, Z5 K4AB c291 q1, ec1 zc1 n2 w0"},
      {0, {{{"CALL", "VE3AB"}, {"CQZ", "14"}}, {{"CALL", "W1AW"}, {"CQZ", "0"}, {"STATE", "CA"}}},
       "WARN:\tQSO #    1 with VE3AB" + on + ": CQ Zone 14 is not a zone of United States; it counts for zone 5\n"
       "WARN:\tQSO #    2 with W1AW" + on + ": CQ Zone 0 is not a zone of United States; it counts for zone 3\n",
       "E291 VE3AB f1, Z3 W1AW c291, Z5 VE3AB c291, ec0 zc0 n0 w2"},
  };
  // clang-format on
  for (const auto& c : cases) {
    Run run;
    run.country_file = &read.value();
    run.prefer_confirmed = c.box != 0;
    std::string lines;
    for (const Fields& qso : c.qsos) lines += run.evaluate(qso);
    CHECK(lines == c.lines);
    CHECK(run.state() == c.state);
  }
}
