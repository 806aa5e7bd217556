// QSO evaluation: every rejection in its order with its exact line and counter, the entity
// and zone credit with replacement rules (a) and (b), and what a credited QSO records.
#include <doctest/doctest.h>

#include <map>
#include <string>

#include "evaluation/qso_evaluation.h"
#include "support/log_capture.h"
#include "support/qso_builder.h"

using namespace tarvenix;
using tarvenix::testing::FieldList;
using tarvenix::testing::LogCapture;

namespace {

// One run's records, with the entities of the tests on the "Scoresheet".
struct Run {
  Run() {
    for (int32_t code : {1, 206, 248, 291, 279, 902, 904, 906}) {
      CreditRecord* r = entities.create(code);
      r->code = code;
      r->row = 5 + code % 300;
    }
  }

  // Evaluates the next QSO: the standard QSO with `changes` applied and the fields named in
  // `without` left out. Returns the lines it wrote.
  std::string evaluate(FieldList changes = {},
                       std::initializer_list<std::string_view> without = {}) {
    std::map<std::string, std::string> fields = {
        {"CALL", "K1ABC"}, {"QSO_DATE", "20240315"}, {"TIME_ON", "0930"}, {"BAND", "20m"},
        {"MODE", "CW"},    {"DXCC", "291"},          {"CQZ", "5"}};
    for (const auto& [name, value] : changes) fields[std::string(name)] = std::string(value);
    for (std::string_view name : without) fields.erase(std::string(name));
    QsoRecord record;
    for (const auto& [name, value] : fields)
      record.add_field(name, value, static_cast<int32_t>(value.size()));
    ++stats.qsos_read;
    const size_t before = capture.text().size();
    evaluate_qso(record, config, entities, zones, stats, capture.log, bad_calls);
    CHECK(config.message.empty());
    return capture.text().substr(before);
  }

  void add_bad_call(const char* call, char category, const char* start, const char* end,
                    const char* notes = nullptr) {
    BadCallEntry entry;
    entry.callsign = call;
    entry.category = category;
    entry.startOn = start;
    entry.endOn = end;
    if (notes != nullptr) entry.notes = notes;
    insert_bad_call(bad_calls, std::move(entry));
  }

  EntityCreditTable entities;
  ZoneCreditTable zones;
  RunStats stats;
  LogCapture capture;
  BadCallList bad_calls;
  OperatorConfig config;
};

}  // namespace

TEST_CASE("an accepted QSO is credited to its entity and zone and writes nothing") {
  Run run;
  CHECK(run.evaluate() == "");
  CHECK(run.capture.log.warnings == 0);
  const CreditRecord* entity = run.entities.find(291);
  REQUIRE(entity != nullptr);
  CHECK(entity->call_text() == "K1ABC");
  CHECK(entity->month == 3);
  CHECK(entity->day == 15);
  CHECK(entity->time == 930);
  CHECK(entity->band == 6);
  CHECK(entity->mode == 1);
  CHECK(entity->code == 291);
  CHECK(entity->row == 5 + 291);
  CHECK(entity->confirmed == 0);
  const CreditRecord* zone = run.zones.find(5);
  REQUIRE(zone != nullptr);
  CHECK(zone->zone == 5);
  CHECK(zone->code == 291);
  CHECK(zone->row == 355);
  CHECK(zone->call_text() == "K1ABC");
}

TEST_CASE("each rejection writes its line and raises its counter") {
  using R = RunStats;
  struct Row {
    const char* field;
    const char* value;  // null: the field is left out
    const char* line;   // after "WARN:\tQSO #    1"; '@' stands for " with K1ABC on 2024-03-15"
    int32_t RunStats::*counter;  // null: none of its own
  };
  const Row rows[] = {
      {"CALL", nullptr, " has no callsign\n", &R::no_callsign},
      {"CALL", "", " has no callsign\n", &R::no_callsign},
      {"QSO_DATE", nullptr, " with K1ABC has no QSO Date\n", &R::no_date},
      {"QSO_DATE", "20231231", " with K1ABC on 2023-12-31 is not for this year\n", &R::wrong_year},
      {"TIME_ON", nullptr, "@ has no QSO Time\n", &R::no_time},
      {"CALL", "K1ABC/MM", " with K1ABC/MM on 2024-03-15 is Maritime Mobile\n",
       &R::maritime_mobile},
      {"QSL_RCVD", "Ignore", "@ has QSL_RCVD = Ignore\n", &R::invalid_calls},
      {"CALL", "!K1ABC",
       " with !K1ABC on 2024-03-15 has '!' as the first letter of the callsign.\n",
       &R::invalid_calls},
      // band and mode rejections carry the rules' reasons
      {"BAND", nullptr, "@ does not have either BAND or FREQ\n", &R::no_band_or_frequency},
      {"MODE", "cw", "@ has an invalid Mode (cw)\n", &R::bad_mode},
      {"DXCC", nullptr, "@ does not have a DXCC Entity Code\n", &R::no_dxcc_prefix},
      {"DXCC", "0", "@ does not have a DXCC Entity Code\n", &R::no_dxcc_prefix},
      {"DXCC", "", "@ does not have a DXCC Entity Code\n", &R::no_dxcc_prefix},
      {"DXCC", "-5", "@ does not have a valid DXCC Entity Code (-5)\n", &R::bad_dxcc_prefix},
      // the logged text is written, not the code it saturates to
      {"DXCC", "99999999999", "@ does not have a valid DXCC Entity Code (99999999999)\n",
       &R::bad_dxcc_prefix},
      {"DXCC", "907", "@ does not have a valid DXCC Entity Code (907)\n", &R::bad_dxcc_prefix},
      {"DXCC", "230", "@ does not have a valid DXCC Entity Code (230)\n", &R::bad_dxcc_prefix},
      // the entity stands when the zone is rejected
      {"CQZ", nullptr, "@ does not have a CQ Zone\n", &R::no_cq_zone},
      {"CQZ", "0", "@ has an invalid CQ Zone (0)\n", &R::bad_cq_zone},
      {"CQZ", "41", "@ has an invalid CQ Zone (41)\n", &R::bad_cq_zone},
      {"CQZ", "x", "@ has an invalid CQ Zone (0)\n", &R::bad_cq_zone},  // the zone read
      // the bad-call list, by category
      {"CALL", "K1BUST", " with K1BUST on 2024-03-15 is a busted callsign (copied wrong)\n",
       &R::busted_calls},
      {"CALL", "K1INV", " with K1INV on 2024-03-15 is an invalid callsign\n", &R::invalid_calls},
      {"CALL", "K1ODD", " with K1ODD on 2024-03-15 is in the bad-call list (why)\n", nullptr},
  };
  for (const Row& row : rows) {
    Run run;
    run.add_bad_call("K1BUST", 'B', "2024-01-01", "2024-12-31", "copied wrong");
    run.add_bad_call("K1INV", 'I', "2024-01-01", "2024-12-31");
    run.add_bad_call("K1ODD", 'X', "2024-01-01", "2024-12-31", "why");
    std::string line = std::string("WARN:\tQSO #    1") + row.line;
    if (const size_t at = line.find('@'); at != std::string::npos)
      line.replace(at, 1, " with K1ABC on 2024-03-15");
    CAPTURE(line);
    // QSL_RCVD beginning with I rejects, even with a LoTW confirmation
    const std::string lines = row.value == nullptr
                                  ? run.evaluate({}, {row.field})
                                  : run.evaluate({{row.field, row.value}, {"LOTW_QSL_RCVD", "Y"}});
    CHECK(lines == line);
    for (const Row& other : rows) {
      if (other.counter != nullptr)
        CHECK(run.stats.*other.counter == (other.counter == row.counter));
    }
    CHECK(run.capture.log.warnings == 1);
    const bool zone_only = row.counter == &R::no_cq_zone || row.counter == &R::bad_cq_zone;
    CHECK(run.entities.find(291)->has_call() == zone_only);
    for (int z = 0; z < run.zones.size(); ++z) CHECK(run.zones.find(z) == nullptr);
  }
}

TEST_CASE("TIME_OFF stands in for a missing TIME_ON, its HHMMSS cut to HHMM") {
  Run run;
  CHECK(run.evaluate({{"TIME_OFF", "123456"}}, {"TIME_ON"}) ==
        "WARN:\tQSO #    1 with K1ABC on 2024-03-15 is using TIME_OFF because TIME_ON was not "
        "found\n");
  CHECK(run.stats.time_off_used == 1);
  CHECK(run.capture.log.warnings == 1);
  CHECK(run.entities.find(291)->time == 1234);
  CHECK(run.zones.find(5)->time == 1234);
}

TEST_CASE("calls that only look like a rejected kind, and the zones at the edges, are credited") {
  Run run;
  CHECK(run.evaluate({{"CALL", "K1ABC/MM/2"}}) == "");
  CHECK(run.evaluate({{"CALL", "K1ABC/mm"}, {"CQZ", "40"}}) == "");
  CHECK(run.zones.find(40)->row == 390);
  CHECK(run.evaluate({{"CQZ", "1"}}) == "");
  CHECK(run.zones.find(1)->row == 351);
  CHECK(run.stats.maritime_mobile == 0);
}

TEST_CASE("a QSO confirmed by any of the three QSL fields, upper-case Y only") {
  const QsoRecord eqsl =
      tarvenix::testing::make_record({{"QSL_RCVD", "N"}, {"EQSL_QSL_RCVD", "Y"}});
  CHECK(is_confirmed(eqsl));
  CHECK(is_confirmed(tarvenix::testing::make_record({{"LOTW_QSL_RCVD", "Yes"}})));
  CHECK_FALSE(is_confirmed(tarvenix::testing::make_record({{"LOTW_QSL_RCVD", "y"}})));
  CHECK_FALSE(is_confirmed(tarvenix::testing::make_record({{"QSL_RCVD", ""}})));
  CHECK_FALSE(is_confirmed(tarvenix::testing::make_record({{"CALL", "K1ABC"}})));
}

TEST_CASE("a Sicilian call, of a megabyte, is credited to Sicily, also in its zone record") {
  Run run;
  const std::string call = "IT9" + std::string(1 << 20, 'A');
  CHECK(run.evaluate({{"CALL", call}, {"DXCC", "248"}, {"CQZ", "15"}}) ==
        "INFO:\tQSO #    1 with " + call + " on 2024-03-15 is Sicily\n");
  CHECK(run.capture.log.notes == 1);
  CHECK(run.entities.find(904)->call_text() == call.substr(0, 16));
  CHECK_FALSE(run.entities.find(248)->has_call());
  CHECK(run.zones.find(15)->code == 904);
  // the note of a move is written even when the entity is already credited
  CHECK(run.evaluate({{"CALL", "IT9XYZ"}, {"DXCC", "248"}, {"CQZ", "0"}}) ==
        "INFO:\tQSO #    2 with IT9XYZ on 2024-03-15 is Sicily\n"
        "WARN:\tQSO #    2 with IT9XYZ on 2024-03-15 has an invalid CQ Zone (0)\n");
  CHECK(run.entities.find(904)->call_text() == call.substr(0, 16));
}

TEST_CASE("a move to a contest entity missing from the Scoresheet is rejected after its note") {
  Run run;
  CHECK(run.evaluate({{"CALL", "IG9ABC"}, {"DXCC", "248"}}) ==
        "INFO:\tQSO #    1 with IG9ABC on 2024-03-15 is African Italy\n"
        "WARN:\tQSO #    1 with IG9ABC on 2024-03-15 does not have a valid DXCC Entity Code "
        "(248)\n");
  CHECK(run.stats.bad_dxcc_prefix == 1);
  CHECK(run.capture.log.notes == 1);
  CHECK(run.capture.log.warnings == 1);
  CHECK(run.entities.find(903) == nullptr);
  CHECK_FALSE(run.entities.find(248)->has_call());
  CHECK(run.zones.find(5) == nullptr);
}

TEST_CASE("entity replacement by a confirmed QSO needs the Confirmed box") {
  SUBCASE("box set: the confirmed QSO replaces the unconfirmed one") {
    Run run;
    run.config.confirmed = 1;
    run.evaluate({{"CALL", "K1AAA"}});
    CHECK(run.evaluate({{"CALL", "K1BBB"}, {"LOTW_QSL_RCVD", "Y"}, {"CQZ", "4"}}) ==
          "DXCC:\tReplaced K1AAA with K1BBB because it is confirmed\n");
    CHECK(run.entities.find(291)->call_text() == "K1BBB");
    CHECK(run.entities.find(291)->confirmed == 1);
    CHECK(run.stats.entities_confirmed == 1);
    CHECK(run.capture.log.notes == 1);
    CHECK(run.stats.zones_confirmed == 1);  // zone 4's first QSO, confirmed
  }
  SUBCASE("box clear: the first QSO stays, nothing is written") {
    Run run;
    run.evaluate({{"CALL", "K1AAA"}});
    CHECK(run.evaluate({{"CALL", "K1BBB"}, {"LOTW_QSL_RCVD", "Y"}}) == "");
    CHECK(run.entities.find(291)->call_text() == "K1AAA");
    CHECK(run.stats.entities_confirmed == 0);
  }
  SUBCASE("two confirmed QSOs: the first stays") {
    Run run;
    run.config.confirmed = 1;
    run.evaluate({{"CALL", "K1AAA"}, {"QSL_RCVD", "Y"}});
    CHECK(run.evaluate({{"CALL", "K1BBB"}, {"QSL_RCVD", "Y"}}) == "");
    CHECK(run.entities.find(291)->call_text() == "K1AAA");
    CHECK(run.stats.entities_confirmed == 1);
    CHECK(run.stats.zones_confirmed == 1);
  }
}

TEST_CASE("zone rule (a): a confirmed QSO replaces an unconfirmed one under the box") {
  Run run;
  run.config.confirmed = 1;
  run.evaluate({{"CALL", "K1AAA"}, {"CQZ", "5"}});
  CHECK(run.evaluate({{"CALL", "VE1ABC"}, {"DXCC", "1"}, {"QSL_RCVD", "Y"}}) ==
        "WAZ:\t[5] Replaced K1AAA with VE1ABC because it is confirmed\n");
  const CreditRecord* zone = run.zones.find(5);
  CHECK(zone->call_text() == "VE1ABC");
  CHECK(zone->code == 1);
  CHECK(zone->confirmed == 1);
  CHECK(run.stats.zones_confirmed == 1);
  CHECK(run.stats.entities_confirmed == 1);  // Canada's first QSO, confirmed
}

TEST_CASE("zone rule (b): a Canadian QSO without a slash replaces a United States one once") {
  Run run;
  run.evaluate({{"CALL", "K1AAA"}});
  CHECK(run.evaluate({{"CALL", "VE1ABC/P"}, {"DXCC", "1"}}) == "");
  CHECK(run.zones.find(5)->call_text() == "K1AAA");
  CHECK(run.evaluate({{"CALL", "VE1ABC"}, {"DXCC", "1"}}) ==
        "WAZ:\t[5] Replaced K1AAA with VE1ABC because Zone is more likely to be correct\n");
  CHECK(run.zones.find(5)->code == 1);
  CHECK(run.capture.log.notes == 1);
  CHECK(run.evaluate({{"CALL", "K1CCC"}}) == "");
  CHECK(run.evaluate({{"CALL", "VE2XYZ"}, {"DXCC", "1"}}) == "");
  CHECK(run.zones.find(5)->call_text() == "VE1ABC");
  CHECK(run.stats.zones_confirmed == 0);
}

TEST_CASE("zone rule (b) under the box needs both QSOs confirmed") {
  Run run;
  run.config.confirmed = 1;
  run.evaluate({{"CALL", "K1AAA"}, {"QSL_RCVD", "Y"}});
  CHECK(run.evaluate({{"CALL", "VE1ABC"}, {"DXCC", "1"}}) == "");
  CHECK(run.evaluate({{"CALL", "VE1XYZ"}, {"DXCC", "1"}, {"QSL_RCVD", "Y"}}) ==
        "DXCC:\tReplaced VE1ABC with VE1XYZ because it is confirmed\n"
        "WAZ:\t[5] Replaced K1AAA with VE1XYZ because Zone is more likely to be correct (and it "
        "is confirmed)\n");
  CHECK(run.zones.find(5)->confirmed == 1);
  CHECK(run.stats.zones_confirmed == 1);  // unchanged by rule (b)
  CHECK(run.stats.entities_confirmed == 2);
}

TEST_CASE("a long call is credited with 16 characters and logged whole") {
  Run run;
  const std::string call = "K1ABCDEFGHIJKLMNOPQ/MM2";
  CHECK(run.evaluate({{"CALL", call}}) == "");
  CHECK(run.entities.find(291)->call_text() == "K1ABCDEFGHIJKLMN");
  CHECK(run.evaluate({{"CALL", call}, {"CQZ", "41"}}) ==
        "WARN:\tQSO #    2 with " + call + " on 2024-03-15 has an invalid CQ Zone (41)\n");
}
