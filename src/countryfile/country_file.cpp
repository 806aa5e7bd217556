// The country file's tables: built once from the text, then searched by binary search.
#include "countryfile/country_file.h"

#include <algorithm>
#include <limits>

#include "countryfile/country_line.h"
#include "records/text_compare.h"

namespace tarvenix {

namespace {

constexpr size_t kEntityLimit = std::numeric_limits<uint16_t>::max();

// Sorts a table by text and keeps the first alias of every text (the file's order decides).
void sort_unique(std::vector<CountryFile::Alias>& table, const std::string& texts) {
  const auto text = [&texts](const CountryFile::Alias& alias) {
    return std::string_view(texts).substr(alias.offset, alias.size);
  };
  // Texts are stored in file order, so the offset breaks ties in favour of the first.
  std::sort(table.begin(), table.end(), [&](const auto& a, const auto& b) {
    const int order = text(a).compare(text(b));
    return order != 0 ? order < 0 : a.offset < b.offset;
  });
  table.erase(std::unique(table.begin(), table.end(),
                          [&](const auto& a, const auto& b) { return text(a) == text(b); }),
              table.end());
}

size_t common_prefix_size(std::string_view a, std::string_view b) {
  size_t n = 0;
  while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
  return n;
}

}  // namespace

CountryFile CountryFile::parse(std::string_view text) {
  CountryFile file;
  CountryLine line;
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view row = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    if (!row.empty() && row.back() == '\r') row.remove_suffix(1);
    if (row.empty()) continue;
    if (file.entities_.size() == kEntityLimit || !parse_country_line(row, line)) {
      ++file.bad_lines_;
      if (file.first_bad_line_ == 0) file.first_bad_line_ = number;
      continue;
    }
    if (!line.version.empty()) file.version_ = line.version;
    const auto entity = static_cast<uint16_t>(file.entities_.size());
    for (const CountryAliasText& alias : line.aliases) {
      Alias stored;
      stored.offset = static_cast<uint32_t>(file.texts_.size());
      stored.size = static_cast<uint16_t>(alias.text.size());
      stored.entity = entity;
      stored.cq_zone = alias.cq_zone != 0 ? alias.cq_zone : line.entity.cq_zone;
      const bool own_continent = alias.continent[0] != '\0';
      for (int i = 0; i < 2; ++i)
        stored.continent[i] = own_continent ? alias.continent[i] : line.entity.continent[i];
      for (char c : alias.text) file.texts_ += ascii_upper(c);
      (alias.exact ? file.exact_calls_ : file.prefixes_).push_back(stored);
    }
    file.entities_.push_back(std::move(line.entity));
  }
  sort_unique(file.exact_calls_, file.texts_);
  sort_unique(file.prefixes_, file.texts_);
  return file;
}

CountryMatch CountryFile::match_of(const Alias& alias) const {
  CountryMatch match;
  match.entity = &entities_[alias.entity];
  match.dxcc = match.entity->dxcc;
  match.cq_zone = alias.cq_zone;
  match.continent[0] = alias.continent[0];
  match.continent[1] = alias.continent[1];
  return match;
}

const CountryFile::Alias* CountryFile::last_not_after(const std::vector<Alias>& table,
                                                      std::string_view key) const {
  const auto after = std::upper_bound(
      table.begin(), table.end(), key,
      [this](std::string_view k, const Alias& alias) { return k < text_of(alias); });
  return after == table.begin() ? nullptr : &*(after - 1);
}

CountryMatch CountryFile::exact_call(std::string_view call) const {
  const Alias* alias = last_not_after(exact_calls_, call);
  return alias != nullptr && text_of(*alias) == call ? match_of(*alias) : CountryMatch();
}

// The greatest listed text not after the key is either the key's longest listed prefix or
// shares fewer leading characters with the key than the key has; then no listed prefix of
// the key is longer than that shared part, which becomes the key.
CountryMatch CountryFile::longest_prefix(std::string_view text) const {
  std::string_view key = text;
  while (!key.empty()) {
    const Alias* alias = last_not_after(prefixes_, key);
    if (alias == nullptr) break;
    const std::string_view listed = text_of(*alias);
    if (key.substr(0, listed.size()) == listed) return match_of(*alias);
    key = key.substr(0, common_prefix_size(key, listed));
  }
  return {};
}

}  // namespace tarvenix
