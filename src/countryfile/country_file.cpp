// The country file's tables: built once from the text, then only looked up.
#include "countryfile/country_file.h"

#include <utility>

#include "countryfile/country_line.h"
#include "records/text_compare.h"

namespace tarvenix {

namespace {

constexpr size_t entity_limit = inner_prefix;  // entity indices stay below the mark

}  // namespace

CountryFile CountryFile::parse(std::string_view text) {
  CountryFile file;
  CountryLine line;
  std::vector<CountryAlias> exact_calls, prefixes;
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

std::string_view CountryFile::continent_of(int32_t dxcc) const {
  for (const CountryEntity& entity : entities_) {
    if (entity.dxcc == dxcc && !entity.primary_prefix.starts_with('*')) return entity.continent;
  }
  return {};
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
  return match_of(exact_calls_.find(call, alias_hash(call), texts_));
}

// Walks the text's starts, each hashed from the last, while the table knows them as starts
// of listed prefixes; the longest listed one wins.
CountryMatch CountryFile::longest_prefix(std::string_view text) const {
  const CountryAlias* longest = nullptr;
  uint32_t hash = alias_hash_start;
  for (size_t size = 1; size <= text.size(); ++size) {
    hash = alias_hash_step(hash, text[size - 1]);
    const CountryAlias* start = prefixes_.find(text.substr(0, size), hash, texts_);
    if (start == nullptr) break;
    if (start->entity != inner_prefix) longest = start;
  }
  return match_of(longest);
}

}  // namespace tarvenix
