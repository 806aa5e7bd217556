// Fuzz target: any bytes as a locator and as a latitude and longitude, then as ADIF records
// whose STATE, VE_PROV, LAT, LON and GRIDSQUARE tell the zone of a US or Canadian station;
// every zone found must be one of North America's.
#include <cstdint>
#include <string>

#include "adif/reader.h"
#include "evaluation/subdivision_zones.h"
#include "evaluation/zone_evidence.h"
#include "evaluation/zone_map.h"

using namespace tarvenix;

namespace {

void check_zone(int zone) {
  if (zone < 0 || zone > 5) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (int32_t dxcc : {united_states, canada}) {
    if (const auto area = locator_area(text)) check_zone(zone_at(dxcc, *area));
    if (const auto point =
            position_point(text.substr(0, 11), text.substr(std::min<size_t>(size, 11))))
      check_zone(zone_at(dxcc, *point));
  }
  MemorySource source(text);
  AdifReader reader(source, 64);
  QsoRecord record;
  std::string error;
  read_all_records(reader, record, error, [](const QsoRecord& closed, ReaderStatus) {
    for (int32_t dxcc : {united_states, canada}) check_zone(zone_from_record(closed, dxcc).zone);
  });
  return 0;
}
