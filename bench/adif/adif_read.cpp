// Reads an ADIF file (or a generated one) record by record and prints how many records it
// read and how fast. Usage: bench_adif_read [FILE]
#include <chrono>
#include <cstdio>
#include <string>

#include "adif/reader.h"

using namespace tarvenix;

namespace {

struct Count {
  long records = 0;
  long fields = 0;
  bool failed = false;
};

Count read_all(ByteSource& source) {
  AdifReader reader(source);
  QsoRecord record;
  std::string error;
  Count count;
  for (;;) {
    const ReaderStatus status = reader.parse_ADIF(record, error);
    if (status == ReaderStatus::end_of_file) break;
    if (status == ReaderStatus::error) {
      std::fprintf(stderr, "%s\n", error.c_str());
      count.failed = true;
      break;
    }
    if (status == ReaderStatus::end_of_record) {
      ++count.records;
      count.fields += static_cast<long>(record.size());
    }
    if (status != ReaderStatus::line) record.clear();
  }
  return count;
}

std::string generated_log(int records) {
  std::string log = "Generated log\n<ADIF_VER:5>3.1.4<PROGRAMID:5>BENCH<EOH>\n";
  char line[256];
  for (int i = 0; i < records; ++i) {
    std::snprintf(line, sizeof line,
                  "<CALL:6>K%05d<QSO_DATE:8>2024%02d%02d<TIME_ON:4>%04d<BAND:3>20m"
                  "<FREQ:6>14.025<MODE:2>CW<DXCC:3>291<CQZ:1>5<QSL_RCVD:1>Y<EOR>\n",
                  i % 100000, 1 + i % 12, 1 + i % 28, i % 2400);
    log += line;
  }
  return log;
}

}  // namespace

int main(int argc, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  Count count;
  double bytes = 0;
  std::string name;
  if (argc > 1) {
    FileSource file;
    if (!file.open(argv[1])) {
      std::fprintf(stderr, "%s: %s\n", argv[1], file.error().c_str());
      return 1;
    }
    count = read_all(file);
    name = argv[1];
    std::FILE* f = std::fopen(argv[1], "rb");
    std::fseek(f, 0, SEEK_END);
    bytes = static_cast<double>(std::ftell(f));
    std::fclose(f);
  } else {
    const std::string log = generated_log(1000000);
    MemorySource memory(log);
    const auto generated = std::chrono::steady_clock::now();
    count = read_all(memory);
    name = "1,000,000 generated records (in memory)";
    bytes = static_cast<double>(log.size());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - generated).count();
    std::printf("%s: %ld records, %ld fields, %.1f MB in %.3f s, %.0f MB/s, %.0f records/s\n",
                name.c_str(), count.records, count.fields, bytes / 1e6, seconds,
                bytes / 1e6 / seconds, count.records / seconds);
    return count.failed ? 1 : 0;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s: %ld records, %ld fields, %.1f MB in %.3f s, %.0f MB/s\n", name.c_str(),
              count.records, count.fields, bytes / 1e6, seconds, bytes / 1e6 / seconds);
  return count.failed ? 1 : 0;
}
