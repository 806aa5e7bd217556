// Building and probing the alias table (linear probing; the table never fills).
#include "countryfile/alias_table.h"

namespace tarvenix {

void AliasTable::build(const std::vector<CountryAlias>& aliases, std::string_view texts,
                       bool inner_prefixes) {
  size_t entries = aliases.size();
  if (inner_prefixes)
    for (const CountryAlias& alias : aliases) entries += alias.size;
  size_t size = 16;
  int bits = 6;  // of the filter's size, 4 * size
  for (; size < 2 * entries; size *= 2) ++bits;
  slots_.assign(size, Slot{});
  filter_.assign(4 * size / 64, 0);
  filter_shift_ = 32 - bits;
  aliases_.clear();
  for (const CountryAlias& alias : aliases) add(alias, texts);
  if (!inner_prefixes) return;
  const size_t listed = aliases_.size();
  for (size_t i = 0; i < listed; ++i) {
    CountryAlias inner = aliases_[i];
    inner.entity = inner_prefix;
    for (inner.size = 1; inner.size < aliases_[i].size; ++inner.size) add(inner, texts);
  }
}

// Adds the alias unless its text is there already.
void AliasTable::add(const CountryAlias& alias, std::string_view texts) {
  const std::string_view text = texts.substr(alias.offset, alias.size);
  const uint32_t hash = fnv_hash(text);
  Slot& slot = slots_[slot_for(text, hash, texts)];
  if (slot.alias != 0) return;
  aliases_.push_back(alias);
  slot = {hash, static_cast<uint32_t>(aliases_.size())};
  const size_t bit = filter_bit(hash);
  filter_[bit / 64] |= uint64_t{1} << (bit % 64);
}

namespace {

// FNV-1a mixes its low bits poorly (the lowest is the parity of the characters' lowest
// bits): the finisher of MurmurHash3 spreads every bit of the hash before it picks a slot.
uint32_t spread(uint32_t hash) {
  hash ^= hash >> 16;
  hash *= 0x85ebca6bu;
  hash ^= hash >> 13;
  hash *= 0xc2b2ae35u;
  return hash ^ (hash >> 16);
}

}  // namespace

// The slot holding `text`, else the empty slot where it would go.
size_t AliasTable::slot_for(std::string_view text, uint32_t hash, std::string_view texts) const {
  const size_t mask = slots_.size() - 1;
  for (size_t at = spread(hash) & mask;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.alias == 0) return at;
    if (slot.hash != hash) continue;
    const CountryAlias& alias = aliases_[slot.alias - 1];
    if (texts.substr(alias.offset, alias.size) == text) return at;
  }
}

const CountryAlias* AliasTable::find(std::string_view text, uint32_t hash,
                                     std::string_view texts) const {
  if (slots_.empty()) return nullptr;
  const size_t bit = filter_bit(hash);
  if ((filter_[bit / 64] >> (bit % 64) & 1) == 0) return nullptr;
  const Slot& slot = slots_[slot_for(text, hash, texts)];
  return slot.alias == 0 ? nullptr : &aliases_[slot.alias - 1];
}

}  // namespace tarvenix
