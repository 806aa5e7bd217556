// What one conversion run owns while its QSOs are evaluated: the credit tables the
// Scoresheet is filled from, the counters, the run log, the bad-call list and the country
// file, with the operator's band, mode and Confirmed choices.
#pragma once

#include "badcalls/bad_call_list.h"
#include "countryfile/country_file.h"
#include "evaluation/band_rules.h"
#include "evaluation/mode_rules.h"
#include "records/run_log.h"
#include "records/run_records.h"

namespace tarvenix {

struct ConversionRun {
  EntityCreditTable entities;
  ZoneCreditTable zones;
  RunStats stats;
  RunLog log;
  BadCallList bad_calls;
  const CountryFile* country_file = nullptr;  // none: only the log's DXCC and CQZ count
  Band band = Band::all;
  ModeClass mode = ModeClass::all;
  bool prefer_confirmed = false;  // the Confirmed box
};

}  // namespace tarvenix
