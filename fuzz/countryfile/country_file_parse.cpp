// Fuzz target: any bytes as a country file. Parsing never fails loudly, every line is taken
// or counted as bad, and what a lookup finds is an entity of the file.
#include <cstdint>
#include <string_view>

#include "countryfile/call_lookup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarvenix;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const CountryFile file = CountryFile::parse(text);
  if ((file.bad_lines() == 0) != (file.first_bad_line() == 0)) __builtin_trap();
  for (size_t at = 0; at < size && at < 512; at += 3) {
    const CountryMatch match = locate_call(file, text.substr(at, 1 + at % 12));
    if (match && (match.dxcc != match.entity->dxcc || match.cq_zone < 1 || match.cq_zone > 40))
      __builtin_trap();
  }
  return 0;
}
