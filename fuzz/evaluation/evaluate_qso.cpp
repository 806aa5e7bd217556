// Fuzz target: records read from any bytes (as ADIF) through evaluate_qso, against a
// Scoresheet that lists every entity and a small bad-call list. The first byte picks the
// operator's band, mode and Confirmed box. Every QSO leaves the credit tables sound.
#include <cstdint>
#include <cstring>
#include <string>

#include "adif/reader.h"
#include "evaluation/entity_table.h"
#include "evaluation/qso_evaluation.h"
#include "records/contest.h"

using namespace tarvenix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  ConversionRun run;
  run.band = static_cast<Band>(data[0] % 14);
  run.mode = static_cast<ModeClass>((data[0] / 14) % 4);
  run.prefer_confirmed = (data[0] / 56) % 2 != 0;
  for (const EntityEntry& row : ENTITY_TABLE) run.entities.create(row.code)->code = row.code;
  const std::string year = std::to_string(CONTEST_YEAR);
  for (const auto& [call, category] : {std::pair{"K1BUST", 'B'}, {"K1INV", 'I'}, {"K1ODD", 'X'}})
    insert_bad_call(run.bad_calls, {call, category, year + "-01-01", year + "-12-31", "fuzz"});

  MemorySource source({reinterpret_cast<const char*>(data) + 1, size - 1});
  AdifReader reader(source, 64);
  QsoRecord record;
  std::string error;
  read_all_records(reader, record, error, [&](QsoRecord& closed, ReaderStatus status) {
    if (status != ReaderStatus::end_of_record) return;
    ++run.stats.qsos_read;
    evaluate_qso(closed, run);
  });
  for (const CreditTable* table :
       std::initializer_list<const CreditTable*>{&run.entities, &run.zones}) {
    for (int i = 0; i < table->size(); ++i) {
      const CreditRecord* r = table->find(i);
      if (r != nullptr && std::strlen(r->call) > 16) __builtin_trap();
    }
  }
  if (run.zones.find(0) != nullptr) __builtin_trap();
  return 0;
}
