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
  read_all_records(reader, record, error, [](const QsoRecord& closed, ReaderStatus) {
    for (const AdifField* f : {closed.call, closed.dxcc, closed.band, closed.mode}) {
      if (f != nullptr && closed.find(f->name) != f) __builtin_trap();
    }
  });
  return 0;
}
