// How fast a large log is converted, and in how much memory: a generated log of 1,000,000
// QSOs (about 230 MB, kept under the build folder and reused) read alone, read and
// evaluated, and converted whole into the bundled Scoresheet template without a bad-call
// list (as `tarvenix-convert --offline` does, results page included), with `wc -l` on the
// same file as a yardstick; and the results page of the evaluated log written alone.
// Then the same for a log without DXCC and CQZ fields, whose entities and zones come from
// the installed country file.
// The whole conversion runs in a child process so that its peak memory is its own.
// Usage: bench_convert [RUNS [QSOS]]; every time is the best of RUNS runs (default 3).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "adif/reader.h"
#include "countryfile/country_file_read.h"
#include "evaluation/entity_map.h"
#include "scoresheet/read_log.h"
#include "scoresheet/results_page.h"
#include "scoresheet/run.h"
#include "scoresheet/workbook.h"
#include "support/generated_log.h"

using namespace tarvenix;

namespace {

const std::string kTemplate = TARVENIX_SOURCE_DIR "/samples/Scoresheet v1.0.xlsx";
const std::string kDataDir = TARVENIX_BENCH_DATA_DIR;

// Other programs share the processors, so besides the elapsed time every stage reports
// the processor time (user and system) it used, which their load hardly changes.
struct Stage {
  double seconds = std::numeric_limits<double>::infinity();      // elapsed, the best run
  double cpu_seconds = std::numeric_limits<double>::infinity();  // processor, the best run
  long qsos = 0;                                                 // QSOs (or lines) counted
};

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double cpu_seconds_of(const rusage& usage) {
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Processor time of this process and of its waited-for children so far.
double cpu_seconds_used() {
  rusage self{}, children{};
  getrusage(RUSAGE_SELF, &self);
  getrusage(RUSAGE_CHILDREN, &children);
  return cpu_seconds_of(self) + cpu_seconds_of(children);
}

// Runs `once` `runs` times, keeping the best times; `once` returns what it counted.
Stage best_of(int runs, const std::function<long()>& once) {
  Stage stage;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const double cpu_start = cpu_seconds_used();
    stage.qsos = once();
    stage.seconds = std::min(stage.seconds, seconds_since(start));
    stage.cpu_seconds = std::min(stage.cpu_seconds, cpu_seconds_used() - cpu_start);
  }
  return stage;
}

long count_lines_with_wc(const std::string& path) {
  const std::string command = "wc -l < '" + path + "'";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  long lines = -1;
  if (std::fscanf(pipe, "%ld", &lines) != 1) lines = -1;
  pclose(pipe);
  return lines;
}

long read_alone(const std::string& path) {
  FileSource file;
  if (!file.open(path)) return -1;
  AdifReader reader(file);
  QsoRecord record;
  std::string error;
  long records = 0;
  for (;;) {
    const ReaderStatus status = reader.parse_ADIF(record, error);
    if (status == ReaderStatus::end_of_file || status == ReaderStatus::error) break;
    if (status == ReaderStatus::end_of_record) ++records;
    if (status != ReaderStatus::line) record.clear();
  }
  return records;
}

// What the evaluation of the log leaves for the results page.
struct Evaluated {
  std::string callsign = "W1AW";
  std::unique_ptr<ConversionRun> run;
};

// The conversion's own reading loop, after the entity map of the template (a few
// milliseconds of the run).
long read_and_evaluate(const std::string& path, const CountryFile* country_file, Evaluated& out) {
  Workbook workbook;
  if (!workbook.load(kTemplate) || workbook.first_sheet() == nullptr) return -1;
  out.run = std::make_unique<ConversionRun>();
  ConversionRun& run = *out.run;
  run.prefer_confirmed = true;  // the Confirmed box makes the evaluation do the most
  run.country_file = country_file;
  if (!run.log.open(kDataDir + "/bench_read_evaluate.log").ok()) return -1;
  read_entity_map(*workbook.first_sheet(), run.entities, run.log);
  return read_adif_log(path, run).empty() ? run.stats.qsos_read : -1;
}

long write_page_of(const Evaluated& evaluated) {
  const ResultsPage page{evaluated.callsign, *evaluated.run, "bench.xlsx", "bench.log", {}};
  AtomicFile file;
  return prepare_results_page(file, kDataDir + "/bench_page.html", page).ok() && file.commit() ? 1
                                                                                               : -1;
}

// One whole conversion in a child process; its peak resident memory goes to `peak_kib`.
long convert_in_child(const std::string& path, long& peak_kib) {
  std::fflush(nullptr);  // the child must not write out the parent's buffered text again
  const pid_t child = fork();
  if (child == 0) {
    ConversionRequest request;
    request.adif_path = path;
    request.scoresheet_path = kTemplate;
    request.output_path = kDataDir + "/bench_convert.xlsx";
    request.callsign = "W1AW";
    request.prefer_confirmed = true;
    request.system.command_line = true;
    request.system.system_name = "bench_convert";
    request.system.program_version = "bench";
    const ConversionResult result = run_conversion(request);
    const bool converted = result.status == ConversionStatus::converted;
    if (!converted) std::fprintf(stderr, "conversion failed: %s\n", result.message.c_str());
    std::fflush(nullptr);
    _exit(converted ? 0 : 1);
  }
  if (child < 0) return -1;
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return -1;
  }
  if (usage.ru_maxrss > peak_kib) peak_kib = usage.ru_maxrss;  // KiB on Linux
  return 1;
}

void print_stage(const char* what, const Stage& stage, double bytes) {
  std::printf("%-24s %7.3f s %6.0f MB/s", what, stage.seconds, bytes / 1e6 / stage.seconds);
  if (stage.qsos > 1) std::printf(" %8.0f QSOs/s", stage.qsos / stage.seconds);
  std::printf(" | cpu %6.3f s %6.0f MB/s", stage.cpu_seconds, bytes / 1e6 / stage.cpu_seconds);
  if (stage.qsos > 1) std::printf(" %8.0f QSOs/s", stage.qsos / stage.cpu_seconds);
  std::printf("\n");
}

// Every stage on one log; false when one failed.
bool bench_log(const std::string& path, int runs, const CountryFile* country_file) {
  const double bytes = static_cast<double>(std::filesystem::file_size(path));
  // The conversion first: the child starts as a copy of this process, which is smallest
  // before the other stages have run.
  long peak_kib = 0;
  Stage whole = best_of(runs, [&] { return convert_in_child(path, peak_kib); });
  Stage lines = best_of(runs, [&] { return count_lines_with_wc(path); });
  Stage read = best_of(runs, [&] { return read_alone(path); });
  Evaluated credits;
  Stage evaluated = best_of(runs, [&] { return read_and_evaluate(path, country_file, credits); });
  Stage page = best_of(runs, [&] { return write_page_of(credits); });
  if (whole.qsos < 0 || lines.qsos < 0 || read.qsos < 0 || evaluated.qsos < 0 || page.qsos < 0) {
    std::fprintf(stderr, "a stage failed\n");
    return false;
  }
  whole.qsos = read.qsos;

  std::printf("%s: %.1f MB, %ld QSOs, %ld lines; best of %d runs (elapsed | processor time)\n",
              path.c_str(), bytes / 1e6, read.qsos, lines.qsos, runs);
  lines.qsos = 0;  // lines, not QSOs: no QSO rate for wc
  print_stage("wc -l", lines, bytes);
  print_stage("reading alone", read, bytes);
  print_stage("reading and evaluation", evaluated, bytes);
  print_stage("whole conversion", whole, bytes);
  std::printf("%-24s %7.4f s (%.2f %% of the whole conversion) | cpu %6.4f s\n", "results page",
              page.seconds, 100 * page.seconds / whole.seconds, page.cpu_seconds);
  std::printf("whole conversion peak memory: %.1f MB (largest of %d runs)\n", peak_kib / 1024.0,
              runs);
  return true;
}

// The generated log of `qsos` records with `fields`, written when it is not there yet.
std::string generated_log_path(long qsos, bench::LogFields fields) {
  // Bump the suffix whenever the generator changes, so that no stale log is reused.
  const std::string path = kDataDir + "/generated-" + std::to_string(qsos) +
                           (fields == bench::LogFields::all ? "" : "-no-dxcc-cqz") + "-v2.adi";
  if (std::filesystem::exists(path)) return path;
  std::printf("generating %s\n", path.c_str());
  if (bench::write_generated_log(path, qsos, fields)) return path;
  std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const long qsos = argc > 2 ? std::max(1L, std::atol(argv[2])) : 1000000;
  std::filesystem::create_directories(kDataDir);
  // The conversion finds the same file (none lies beside this program).
  const std::string country_path = default_country_file("");
  const Result<CountryFile> country = read_country_file(country_path);
  std::printf("country file: %s\n", country.ok() ? country_path.c_str() : "none");
  const CountryFile* country_file = country.ok() ? &country.value() : nullptr;
  for (bench::LogFields fields : {bench::LogFields::all, bench::LogFields::without_dxcc_and_cqz}) {
    const std::string path = generated_log_path(qsos, fields);
    if (path.empty() || !bench_log(path, runs, country_file)) return 1;
  }
  return 0;
}
