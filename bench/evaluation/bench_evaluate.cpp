// How many QSOs evaluate_qso handles per second: 1,000,000 generated records (most of them
// accepted, a few of each rejection) against a Scoresheet listing every entity and a
// bad-call list of 10,000 entries. Reading plus evaluation of a log file is measured by
// bench_convert. Usage: bench_evaluate [RECORDS].
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "adif/reader.h"
#include "evaluation/entity_table.h"
#include "evaluation/qso_evaluation.h"
#include "records/contest.h"

using namespace tarvenix;

namespace {

constexpr int kDistinct = 4096;  // records kept in memory and cycled through

const char* const kModes[] = {"CW", "SSB", "FT8", "RTTY", "FM", "FT4"};
const char* const kBands[][2] = {{"20m", "14.025"}, {"40m", "7.074"}, {"15m", "21.3"},
                                 {"10m", "28.5"},   {"80m", "3.55"},  {"160m", "1.83"}};

// One ADIF record of about 220 bytes; every 50th has a problem of its own.
std::string record_text(int i) {
  const EntityEntry& entity = ENTITY_TABLE[static_cast<size_t>(i * 7919) % ENTITY_TABLE.size()];
  const auto& band = kBands[i % 6];
  char call[32];
  std::snprintf(call, sizeof call, "%c%d%c%c%c", 'A' + i % 26, i % 10, 'A' + (i / 7) % 26,
                'A' + (i / 11) % 26, 'A' + (i / 13) % 26);
  const int problem = i % 50;
  char date[32];
  std::snprintf(date, sizeof date, "%04d%02d%02d", static_cast<int>(CONTEST_YEAR - (problem == 1)),
                i % 12 + 1, i % 28 + 1);
  if (problem == 2) std::snprintf(call, sizeof call, "BAD%d", i % 10000);
  char text[512];
  std::snprintf(text, sizeof text,
                "<CALL:%zu>%s<QSO_DATE:8>%s<TIME_ON:6>%02d%02d%02d<BAND:%zu>%s<FREQ:%zu>%s"
                "<MODE:%zu>%s<RST_SENT:3>599<RST_RCVD:3>599<DXCC:%zu>%d<CQZ:%zu>%d"
                "<QSL_RCVD:1>%c<LOTW_QSL_RCVD:1>%c<OPERATOR:5>N0CAL<STATION_CALLSIGN:5>N0CAL"
                "<EOR>\n",
                std::strlen(call), call, date, i % 24, i % 60, i % 60, std::strlen(band[0]),
                band[0], std::strlen(band[1]), band[1], std::strlen(kModes[i % 6]), kModes[i % 6],
                std::to_string(entity.code).size(), entity.code,
                std::to_string(problem == 3 ? 45 : 1 + i % 40).size(),
                problem == 3 ? 45 : 1 + i % 40, i % 3 == 0 ? 'Y' : 'N', i % 5 == 0 ? 'Y' : 'N');
  return text;
}

struct Session {
  Session() {
    for (const EntityEntry& row : ENTITY_TABLE) run.entities.create(row.code)->code = row.code;
    const std::string year = std::to_string(CONTEST_YEAR);
    for (int i = 0; i < 10000; ++i) {
      BadCallEntry entry;
      entry.callsign = "BAD" + std::to_string(i);
      entry.category = i % 2 ? 'B' : 'I';
      entry.startOn = year + "-01-01";
      entry.endOn = year + "-12-31";
      insert_bad_call(run.bad_calls, std::move(entry));
    }
    run.prefer_confirmed = true;
    log_path = std::filesystem::temp_directory_path() / "bench_evaluate.log";
    run.log.open(log_path.string());
  }
  ~Session() {
    run.log.commit();
    std::error_code ignored;
    std::filesystem::remove(log_path, ignored);
  }
  void evaluate(QsoRecord& record) {
    ++run.stats.qsos_read;
    evaluate_qso(record, run);
  }

  ConversionRun run;
  std::filesystem::path log_path;
};

std::vector<QsoRecord> parse_records(const std::string& text) {
  MemorySource source(text);
  AdifReader reader(source);
  std::vector<QsoRecord> records;
  QsoRecord record;
  std::string error;
  read_all_records(reader, record, error, [&](QsoRecord& closed, ReaderStatus status) {
    if (status == ReaderStatus::end_of_record) records.push_back(std::move(closed));
  });
  return records;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void report(const char* what, long qsos, double seconds, const Session& s) {
  std::printf("%s: %ld QSOs in %.3f s, %.0f QSOs/s (warnings %d, notes %d)\n", what, qsos, seconds,
              qsos / seconds, s.run.log.warnings, s.run.log.notes);
}

}  // namespace

int main(int argc, char** argv) {
  const long total = argc > 1 ? std::atol(argv[1]) : 1000000;
  std::string distinct;
  for (int i = 0; i < kDistinct; ++i) distinct += record_text(i);
  std::vector<QsoRecord> records = parse_records(distinct);
  if (records.size() != kDistinct) {
    std::fprintf(stderr, "generated %zu records, expected %d\n", records.size(), kDistinct);
    return 1;
  }
  Session session;
  const auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < total; ++i) session.evaluate(records[static_cast<size_t>(i % kDistinct)]);
  report("evaluate_qso alone", total, seconds_since(start), session);
  return 0;
}
