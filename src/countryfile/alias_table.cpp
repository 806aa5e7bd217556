// Building and probing the alias table (linear probing; the table never fills).
#include "countryfile/alias_table.h"

namespace tarvenix {

uint32_t alias_hash(std::string_view text) {
  uint32_t hash = ALIAS_HASH_START;
  for (char c : text) hash = alias_hash_step(hash, c);
  return hash;
}

void AliasTable::build(const std::vector<CountryAlias>& aliases, std::string_view texts) {
  size_t size = 16;
  while (size < 2 * aliases.size()) size *= 2;
  slots_.assign(size, Slot{});
  aliases_.clear();
  longest_ = 0;
  for (const CountryAlias& alias : aliases) {
    const std::string_view text = texts.substr(alias.offset, alias.size);
    const uint32_t hash = alias_hash(text);
    Slot& slot = slots_[slot_for(text, hash, texts)];
    if (slot.alias != 0) continue;  // the text is there already
    aliases_.push_back(alias);
    slot = {hash, static_cast<uint32_t>(aliases_.size())};
    if (text.size() > longest_) longest_ = text.size();
  }
}

// The slot holding `text`, else the empty slot where it would go.
size_t AliasTable::slot_for(std::string_view text, uint32_t hash, std::string_view texts) const {
  const size_t mask = slots_.size() - 1;
  for (size_t at = hash & mask;; at = (at + 1) & mask) {
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
  const Slot& slot = slots_[slot_for(text, hash, texts)];
  return slot.alias == 0 ? nullptr : &aliases_[slot.alias - 1];
}

}  // namespace tarvenix
