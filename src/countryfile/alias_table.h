// The prefixes or the exact calls of the country file by the hash of their text: open
// addressing over one flat array of slots, so that a lookup hashes once, touches one or two
// slots and compares a text only where the hashes agree. A bit array small enough to stay
// in the processor's cache answers most texts that are not there without a slot.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "records/fnv_hash.h"

namespace tarvenix {

// One prefix or exact call of an entity; its text lies in the country file's text buffer.
struct CountryAlias {
  uint32_t offset = 0;
  uint16_t size = 0;
  uint16_t entity = 0;  // index in the entity list, or inner_prefix
  int8_t cq_zone = 0;   // the alias's override, else the entity's
  char continent[2] = {};
};

// Marks the start of a listed prefix that is not listed itself: a search for the longest
// prefix goes on past it.
inline constexpr uint16_t inner_prefix = 0xFFFF;

class AliasTable {
 public:
  // Takes the aliases in file order; of several with the same text the first stays. With
  // `inner_prefixes`, every start of an alias's text is found too (as inner_prefix).
  void build(const std::vector<CountryAlias>& aliases, std::string_view texts, bool inner_prefixes);
  // The alias whose text is `text` (whose hash is `hash`), or null.
  const CountryAlias* find(std::string_view text, uint32_t hash, std::string_view texts) const;

 private:
  struct Slot {
    uint32_t hash = 0;
    uint32_t alias = 0;  // index in aliases_ plus one; 0 marks an empty slot
  };
  size_t slot_for(std::string_view text, uint32_t hash, std::string_view texts) const;
  void add(const CountryAlias& alias, std::string_view texts);
  size_t filter_bit(uint32_t hash) const { return (hash * 0x9E3779B1u) >> filter_shift_; }

  std::vector<CountryAlias> aliases_;
  std::vector<Slot> slots_;       // a power of two, at most half full
  std::vector<uint64_t> filter_;  // four bits per slot; a clear bit: no such text
  int filter_shift_ = 0;
};

}  // namespace tarvenix
