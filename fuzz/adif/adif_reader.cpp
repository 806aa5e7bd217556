// Fuzz target: any bytes through the ADIF reader, with a small block so tags and values
// cross block boundaries; every field found must be findable by its name.
#include <cstdint>
#include <string>

#include "adif/reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarvenix;
  MemorySource source({reinterpret_cast<const char*>(data), size});
  AdifReader reader(source, 64);
  QsoRecord record;
  std::string error;
  for (;;) {
    const ReaderStatus status = reader.parse_ADIF(record, error);
    if (status == ReaderStatus::end_of_file || status == ReaderStatus::error) break;
    if (status == ReaderStatus::end_of_header || status == ReaderStatus::end_of_record) {
      for (const AdifField* f : {record.call, record.dxcc, record.band, record.mode}) {
        if (f != nullptr && record.find(f->name) != f) __builtin_trap();
      }
      record.clear();
    }
  }
  return 0;
}
