// Loads a Scoresheet-sized template, writes 400 rows of six cells and saves it under a new name,
// many times, and next to it has openpyxl do the same work; prints the fastest and the median
// run of both and their ratios (the machine may be busy with other work: the fastest run shows
// what each side can do).
// Saving over an existing file costs more on file systems that flush a file renamed over
// another; the conversion normally writes a new file.
// Usage: bench_workbook [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "scoresheet/workbook.h"

#ifdef _WIN32
int main() {
  std::printf("bench_workbook compares with openpyxl, which runs on Linux only\n");
  return 0;
}
#else

using namespace tarvenix;
namespace fs = std::filesystem;

namespace {

constexpr int kRows = 400;
constexpr int kFirstRow = 5;  // row index of the first entity row
const std::string kScript =
    std::string(TARVENIX_SOURCE_DIR) + "/bench/scoresheet/openpyxl_bench.py";

struct Timing {
  double fastest = -1;  // seconds; negative when the work failed
  double median = -1;
};

void fill(Sheet& sheet) {
  char call[16];
  for (int i = 0; i < kRows; ++i) {
    const int row = kFirstRow + i;
    sheet.write_number(row, 3, 1 + i % 28);
    sheet.write_number(row, 4, 1 + i % 12);
    sheet.write_number(row, 5, i % 2400);
    sheet.write_number(row, 6, 20);
    sheet.write_text(row, 7, "Phone");
    std::snprintf(call, sizeof call, "K%05d", i);
    sheet.write_text(row, 8, call);
  }
}

bool load_fill_save(const std::string& template_path, const std::string& output) {
  Workbook book;
  if (!book.load(template_path) || book.first_sheet() == nullptr) {
    std::fprintf(stderr, "load: %s\n", book.error_message().c_str());
    return false;
  }
  fill(*book.first_sheet());
  if (!book.save(output)) {
    std::fprintf(stderr, "save: %s\n", book.error_message().c_str());
    return false;
  }
  return true;
}

// Each run saves to `output` with the run's number.
Timing time_ours(const std::string& template_path, const std::string& output, int runs) {
  std::vector<double> seconds;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    if (!load_fill_save(template_path, output + "." + std::to_string(run) + ".xlsx")) return {};
    seconds.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(seconds.begin(), seconds.end());
  return {seconds.front(), seconds[seconds.size() / 2]};
}

Timing time_openpyxl(const std::string& template_path, const std::string& output, int runs) {
  const std::string command = std::string(TARVENIX_PYTHON) + " " + kScript + " run " +
                              template_path + " " + output + " " + std::to_string(runs);
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  Timing timing;
  if (std::fscanf(pipe, "%lf %lf", &timing.fastest, &timing.median) != 2) timing = {};
  pclose(pipe);
  return timing;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 100;
  const fs::path folder = fs::temp_directory_path() / "tarvenix_bench_workbook";
  fs::create_directories(folder);
  const std::string template_path = (folder / "template.xlsx").string();
  const std::string make = std::string(TARVENIX_PYTHON) + " " + kScript + " make " + template_path;
  if (std::system(make.c_str()) != 0) {
    std::fprintf(stderr, "cannot make the template with openpyxl\n");
    return 1;
  }
  time_ours(template_path, (folder / "warm").string(), 3);  // the file cache
  const Timing ours = time_ours(template_path, (folder / "ours").string(), runs);
  const int python_runs = std::max(runs / 10, 3);
  const Timing theirs = time_openpyxl(template_path, (folder / "openpyxl").string(), python_runs);
  fs::remove_all(folder);
  if (ours.fastest <= 0 || theirs.fastest <= 0) return 1;
  std::printf("load + write 400x6 cells + save of a 400x9 styled Scoresheet template\n");
  std::printf("            fastest     median   (runs)\n");
  std::printf("  tarvenix: %7.3f ms %7.3f ms  (%d)\n", ours.fastest * 1e3, ours.median * 1e3, runs);
  std::printf("  openpyxl: %7.3f ms %7.3f ms  (%d)\n", theirs.fastest * 1e3, theirs.median * 1e3,
              python_runs);
  std::printf("  ratio:    %7.1f x  %7.1f x\n", theirs.fastest / ours.fastest,
              theirs.median / ours.median);
  return 0;
}

#endif
