// Fuzz target: any bytes as a bad-call file. Loading never fails loudly, a refused file adds
// nothing, and lookups with pieces of the input stay within the list.
#include <cstdint>
#include <string>
#include <string_view>

#include "badcalls/bad_call_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarvenix;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  BadCallList list;
  RunLog log;  // no file: lines go nowhere
  const Result<int> load = load_bad_calls_from_text(list, text, "fuzz.json", log);
  if (!load.ok() && !list.empty()) __builtin_trap();
  if (load.ok() && list.size() != static_cast<size_t>(load.value())) __builtin_trap();
  for (size_t at = 0; at + 4 <= size && at < 256; at += 4) {
    const BadCallEntry* entry = find_bad_call(list, text.substr(at, 6), "2024-03-15");
    if (entry != nullptr && (entry->callsign != text.substr(at, 6) ||
                             entry->startOn > "2024-03-15" || entry->endOn < "2024-03-15"))
      __builtin_trap();
  }
  return 0;
}
