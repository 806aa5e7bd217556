// Loads a Scoresheet-sized template, writes 400 rows of six cells and saves it under a new name,
// many times, and next to it has openpyxl do the same work; prints both times and the ratio.
// (Saving over an existing file costs more on file systems that flush a file renamed over
// another; the conversion normally writes a new file.)
// Usage: bench_workbook [RUNS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "scoresheet/workbook.h"

using namespace tarvenix;
namespace fs = std::filesystem;

namespace {

constexpr int kRows = 400;
constexpr int kFirstRow = 5;  // row index of the first entity row
const std::string kScript =
    std::string(TARVENIX_SOURCE_DIR) + "/bench/scoresheet/openpyxl_bench.py";

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

// Mean seconds of one load, fill and save (to `output` with the run's number); negative on
// failure.
double time_ours(const std::string& template_path, const std::string& output, int runs) {
  const auto start = std::chrono::steady_clock::now();
  for (int run = 0; run < runs; ++run) {
    Workbook book;
    if (!book.load(template_path) || book.first_sheet() == nullptr) {
      std::fprintf(stderr, "load: %s\n", book.error_message().c_str());
      return -1;
    }
    fill(*book.first_sheet());
    if (!book.save(output + "." + std::to_string(run) + ".xlsx")) {
      std::fprintf(stderr, "save: %s\n", book.error_message().c_str());
      return -1;
    }
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / runs;
}

#ifndef _WIN32
double time_openpyxl(const std::string& template_path, const std::string& output, int runs) {
  const std::string command = std::string(TARVENIX_PYTHON) + " " + kScript + " run " +
                              template_path + " " + output + " " + std::to_string(runs);
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  double seconds = -1;
  if (std::fscanf(pipe, "%lf", &seconds) != 1) seconds = -1;
  pclose(pipe);
  return seconds;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 50;
  const fs::path folder = fs::temp_directory_path() / "tarvenix_bench_workbook";
  fs::create_directories(folder);
  const std::string template_path = (folder / "template.xlsx").string();
  const std::string ours = (folder / "ours").string();
#ifdef _WIN32
  std::printf("bench_workbook compares with openpyxl on Linux only\n");
  (void)ours;
  (void)runs;
  return 0;
#else
  const std::string make = std::string(TARVENIX_PYTHON) + " " + kScript + " make " + template_path;
  if (std::system(make.c_str()) != 0) {
    std::fprintf(stderr, "cannot make the template with openpyxl\n");
    return 1;
  }
  time_ours(template_path, ours + "_warm", 3);  // warm the file cache
  const double our_seconds = time_ours(template_path, ours, runs);
  const int python_runs = runs / 10 > 3 ? runs / 10 : 3;
  const double python_seconds =
      time_openpyxl(template_path, (folder / "openpyxl").string(), python_runs);
  if (our_seconds <= 0 || python_seconds <= 0) return 1;
  std::printf("load + write 400x6 cells + save of a 400x9 styled Scoresheet template\n");
  std::printf("  tarvenix: %8.3f ms per run (%d runs)\n", our_seconds * 1e3, runs);
  std::printf("  openpyxl: %8.3f ms per run (%d runs)\n", python_seconds * 1e3, python_runs);
  std::printf("  ratio:    %8.1f times faster\n", python_seconds / our_seconds);
  fs::remove_all(folder);
  return 0;
#endif
}
