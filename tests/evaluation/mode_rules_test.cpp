// Mode rules: the classes, exact matching, and the operator's mode selection.
#include <doctest/doctest.h>

#include <string>

#include "evaluation/mode_rules.h"
#include "support/qso_builder.h"

using namespace tarvenix;
using tarvenix::testing::make_record;

namespace {

struct ModeResult {
  int mode_class;
  std::string reason;
  RunStats stats;
};

ModeResult mode_of(tarvenix::testing::FieldList fields, int selected = 0) {
  const QsoRecord record = make_record(fields);
  OperatorConfig config;
  config.mode_index = static_cast<uint8_t>(selected);
  ModeResult result;
  result.mode_class = check_mode(record, config, result.stats);
  result.reason = config.message;
  return result;
}

}  // namespace

TEST_CASE("every mode falls into its class; unknown and mis-cased modes are invalid") {
  CHECK(mode_of({{"MODE", "CW"}}).mode_class == 1);
  for (std::string_view m : PHONE_MODES) CHECK(mode_class_of(m) == 2);
  for (std::string_view m : DIGITAL_MODES) CHECK(mode_class_of(m) == 3);
  for (const char* m : {"cw", "PSK31", "JS8", "", "A", "ZZZZ", "CW "}) {
    CAPTURE(m);
    const ModeResult r = mode_of({{"MODE", m}});
    CHECK(r.mode_class == 0);
    CHECK(r.reason == std::string("has an invalid Mode (") + m + ")");
    CHECK(r.stats.bad_mode == 1);
  }
}

TEST_CASE("a missing MODE has its reason and no counter; SUBMODE is not consulted") {
  const ModeResult r = mode_of({{"SUBMODE", "FT4"}});
  CHECK(r.mode_class == 0);
  CHECK(r.reason == "did not specify a Mode");
  CHECK(r.stats.bad_mode == 0);
  CHECK(r.stats.not_selected_mode == 0);
}

TEST_CASE("the operator's mode selection") {
  const ModeResult r = mode_of({{"MODE", "CW"}}, 2);
  CHECK(r.mode_class == 0);
  CHECK(r.reason == "CW is not for the selected Mode");
  CHECK(r.stats.not_selected_mode == 1);
  CHECK(mode_of({{"MODE", "SSB"}}, 2).mode_class == 2);
  CHECK(mode_of({{"MODE", "FT8"}}, 3).mode_class == 3);
  for (const char* m : {"CW", "SSB", "FT8"}) {
    const ModeResult any = mode_of({{"MODE", m}}, 0);
    CHECK(any.mode_class != 0);
    CHECK(any.reason.empty());
  }
}
