// The country file's tables: built once from the text, then only looked up.
#include "countryfile/country_file.h"

#include <utility>

#include "countryfile/country_line.h"
#include "records/text_compare.h"

namespace tarvenix {

namespace {

constexpr size_t entity_limit = inner_prefix;  // entity indices stay below the mark
constexpr size_t dxcc_slots = 1000;            // the line format's DXCC numbers are 1 to 999

uint64_t zone_bit(int zone) {
  return uint64_t{1} << zone;
}

}  // namespace

CountryFile CountryFile::parse(std::string_view text) {
  CountryFile file;
  CountryLine line;
  std::vector<CountryAlias> exact_calls, prefixes;
  file.main_lines_.assign(dxcc_slots, 0);
  file.zones_.assign(dxcc_slots, 0);
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view row = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    if (!row.empty() && row.back() == '\r') row.remove_suffix(1);
    if (row.empty()) continue;
    if (file.entities_.size() == entity_limit || !parse_country_line(row, line)) {
      ++file.bad_lines_;
      if (file.first_bad_line_ == 0) file.first_bad_line_ = number;
      continue;
    }
    if (!line.version.empty()) file.version_ = line.version;
    const auto entity = static_cast<uint16_t>(file.entities_.size());
    for (const CountryAliasText& alias : line.aliases) {
      CountryAlias stored;
      stored.offset = static_cast<uint32_t>(file.texts_.size());
      stored.size = static_cast<uint16_t>(alias.text.size());
      stored.entity = entity;
      stored.cq_zone = alias.cq_zone != 0 ? alias.cq_zone : line.entity.cq_zone;
      const bool own_continent = alias.continent[0] != '\0';
      for (int i = 0; i < 2; ++i)
        stored.continent[i] = own_continent ? alias.continent[i] : line.entity.continent[i];
      for (char c : alias.text) file.texts_ += ascii_upper(c);
      (alias.exact ? exact_calls : prefixes).push_back(stored);
    }
    file.add_to_entity_index(line);
    file.entities_.push_back(std::move(line.entity));
  }
  file.exact_calls_.build(exact_calls, file.texts_, false);
  file.prefixes_.build(prefixes, file.texts_, true);
  return file;
}

CountryMatch CountryFile::match_of(const CountryAlias* alias) const {
  CountryMatch match;
  if (alias == nullptr) return match;
  match.entity = &entities_[alias->entity];
  match.dxcc = match.entity->dxcc;
  match.cq_zone = alias->cq_zone;
  match.continent[0] = alias->continent[0];
  match.continent[1] = alias->continent[1];
  return match;
}

// Called before the line's entity joins the list, so its index is the list's size.
void CountryFile::add_to_entity_index(const CountryLine& line) {
  const CountryEntity& entity = line.entity;
  const auto dxcc = static_cast<size_t>(entity.dxcc);
  uint64_t& zones = zones_[dxcc];
  zones |= zone_bit(entity.cq_zone);
  for (const CountryAliasText& alias : line.aliases)
    if (alias.cq_zone != 0) zones |= zone_bit(alias.cq_zone);
  if (main_lines_[dxcc] == 0 && !entity.primary_prefix.starts_with('*'))
    main_lines_[dxcc] = static_cast<uint16_t>(entities_.size() + 1);
}

const CountryEntity* CountryFile::entity_of(int32_t dxcc) const {
  if (dxcc < 0 || static_cast<size_t>(dxcc) >= main_lines_.size()) return nullptr;
  const uint16_t line = main_lines_[static_cast<size_t>(dxcc)];
  return line == 0 ? nullptr : &entities_[line - 1];
}

uint64_t CountryFile::zones_of(int32_t dxcc) const {
  if (dxcc < 0 || static_cast<size_t>(dxcc) >= zones_.size()) return 0;
  return zones_[static_cast<size_t>(dxcc)];
}

std::string_view CountryFile::continent_of(int32_t dxcc) const {
  const CountryEntity* entity = entity_of(dxcc);
  return entity == nullptr ? std::string_view() : entity->continent;
}

std::string_view continent_name(std::string_view code) {
  constexpr std::pair<std::string_view, std::string_view> names[] = {
      {"AF", "Africa"},        {"AN", "Antarctica"}, {"AS", "Asia"},          {"EU", "Europe"},
      {"NA", "North America"}, {"OC", "Oceania"},    {"SA", "South America"},
  };
  for (const auto& [short_name, name] : names) {
    if (short_name == code) return name;
  }
  return {};
}

CountryMatch CountryFile::exact_call(std::string_view call) const {
  return match_of(exact_calls_.find(call, fnv_hash(call), texts_));
}

// Walks the text's starts, each hashed from the last, while the table knows them as starts
// of listed prefixes; the longest listed one wins.
CountryMatch CountryFile::longest_prefix(std::string_view text) const {
  const CountryAlias* longest = nullptr;
  uint32_t hash = fnv_hash_start;
  for (size_t size = 1; size <= text.size(); ++size) {
    hash = fnv_hash_step(hash, text[size - 1]);
    const CountryAlias* start = prefixes_.find(text.substr(0, size), hash, texts_);
    if (start == nullptr) break;
    if (start->entity != inner_prefix) longest = start;
  }
  return match_of(longest);
}

}  // namespace tarvenix
