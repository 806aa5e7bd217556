// A conversion streams its log: the memory it holds depends on the largest record, not on
// how many records the log has. Every allocation through operator new is counted here (this
// program replaces it), and the peak of the bytes held during a whole conversion of a log
// is compared with that of a log ten times longer.
#include <doctest/doctest.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>

#include "records/contest.h"
#include "scoresheet/run.h"
#include "support/log_capture.h"

namespace {

// Bytes held, and their peak while `counting`. The size is kept in front of every block so
// that an unsized delete can subtract it. Single-threaded, as the conversion is.
size_t held_bytes = 0;
size_t peak_bytes = 0;
constexpr size_t header_size = alignof(std::max_align_t);

}  // namespace

void* operator new(size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + header_size));
  if (block == nullptr) throw std::bad_alloc();
  std::memcpy(block, &size, sizeof size);
  held_bytes += size;
  if (held_bytes > peak_bytes) peak_bytes = held_bytes;
  return block + header_size;
}
void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  auto* block = static_cast<unsigned char*>(p) - header_size;
  size_t size = 0;
  std::memcpy(&size, block, sizeof size);
  held_bytes -= size;
  std::free(block);
}
void operator delete(void* p, size_t) noexcept {
  operator delete(p);
}
// std::stable_sort takes its buffer through this one (a failure is a failed test anyway).
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

namespace {

using tarvenix::CONTEST_YEAR;
using tarvenix::testing::temp_file_path;

// A log of `qsos` records: most of them accepted, every tenth rejected, so that the run
// log grows with the log too.
void write_log(const std::filesystem::path& path, int qsos) {
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  REQUIRE(file != nullptr);
  std::fputs("Streaming test log\n<PROGRAMID:4>TEST<EOH>\n", file);
  for (int i = 0; i < qsos; ++i) {
    std::fprintf(file,
                 "<CALL:7>K%06d <QSO_DATE:8>%d0401 <TIME_ON:4>%04d <BAND:3>20m <FREQ:6>14.025 "
                 "<MODE:2>CW <DXCC:3>291 <CQZ:1>%d <QSL_RCVD:1>%c <COMMENT:12>tnx fer QSO "
                 "<EOR>\n",
                 i, static_cast<int>(i % 10 == 0 ? CONTEST_YEAR - 1 : CONTEST_YEAR), i % 2400,
                 3 + i % 3, i % 7 == 0 ? 'Y' : 'N');
  }
  std::fclose(file);
}

// The most bytes held at once while converting a generated log of `qsos` QSOs.
size_t peak_of_conversion(int qsos) {
  const std::filesystem::path log = temp_file_path("tarvenix-streaming");
  const std::filesystem::path output = temp_file_path("tarvenix-streaming-out");
  write_log(log, qsos);
  tarvenix::ConversionRequest paths;
  paths.adif_path = log.string();
  paths.scoresheet_path = std::string(TARVENIX_SOURCE_DIR) + "/samples/Scoresheet v1.0.xlsx";
  paths.output_path = output.string() + ".xlsx";
  paths.callsign = "W1AW";
  paths.system.command_line = true;

  peak_bytes = held_bytes;
  const size_t before = held_bytes;
  const tarvenix::ConversionResult result = run_conversion(paths);
  const size_t peak = peak_bytes - before;
  CHECK((result.status == tarvenix::ConversionStatus::converted && result.message.empty()));
  std::error_code ignored;
  for (const std::string& file :
       {log.string(), paths.output_path, output.string() + ".log", output.string() + ".html"}) {
    std::filesystem::remove(file, ignored);
  }
  return peak;
}

}  // namespace

TEST_CASE("a conversion holds no more memory for a log ten times longer") {
  const size_t small = peak_of_conversion(20000);
  const size_t large = peak_of_conversion(200000);
  CAPTURE(small);
  CHECK(small > 0);
  // 180,000 more QSOs: growing by even three bytes a QSO would show.
  CHECK(large <= small + 512 * 1024);
  CHECK(large < 64u * 1024 * 1024);
}
