// The country file in memory: its entities, and its prefixes and exact calls in two hash
// tables whose texts share one buffer, so that a lookup allocates nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "countryfile/alias_table.h"

namespace tarvenix {

struct CountryLine;

// One line of the file: an entity, or a part of one that some awards count separately
// (its primary prefix begins with "*" and its DXCC number is its parent's).
struct CountryEntity {
  std::string primary_prefix;
  std::string name;
  int32_t dxcc = 0;
  int8_t cq_zone = 0;
  int8_t itu_zone = 0;
  char continent[3] = {};  // "AF", "AN", "AS", "EU", "NA", "OC" or "SA"
};

// What the file says about a call: its entity, and the CQ Zone and continent of the prefix
// or exact call that matched (its own overrides, else the entity's).
struct CountryMatch {
  const CountryEntity* entity = nullptr;  // null: the file does not know the call
  int32_t dxcc = 0;
  int8_t cq_zone = 0;
  char continent[3] = {};

  explicit operator bool() const { return entity != nullptr; }
};

class CountryFile {
 public:
  // Reads the text of a cty.csv file. Lines that are not in its format are left out and
  // counted; the rest is used.
  static CountryFile parse(std::string_view text);

  // The exact call `call` (upper case, as the file writes it), or no match.
  CountryMatch exact_call(std::string_view call) const;
  // The longest prefix of `text` the file lists, or no match.
  CountryMatch longest_prefix(std::string_view text) const;

  // The continent of the entity numbered `dxcc` (its main line, not a part), or "".
  std::string_view continent_of(int32_t dxcc) const;
  // The main line (not a part) of the entity numbered `dxcc`, or null.
  const CountryEntity* entity_of(int32_t dxcc) const;
  // Every CQ Zone the file gives the entity numbered `dxcc`: its lines' own zones and those
  // of all their prefixes and exact calls, bit z for zone z; 0 for an entity it lacks.
  uint64_t zones_of(int32_t dxcc) const;

  size_t entity_count() const { return entities_.size(); }
  const std::string& version() const { return version_; }  // "yyyymmdd", or empty
  int bad_lines() const { return bad_lines_; }
  int first_bad_line() const { return first_bad_line_; }  // 0 when every line was good

 private:
  CountryMatch match_of(const CountryAlias* alias) const;
  void add_to_entity_index(const CountryLine& line);

  std::vector<CountryEntity> entities_;
  std::vector<uint16_t> main_lines_;  // by DXCC number: the main line's index plus one, or 0
  std::vector<uint64_t> zones_;       // by DXCC number
  std::string texts_;
  AliasTable exact_calls_;
  AliasTable prefixes_;
  std::string version_;
  int bad_lines_ = 0;
  int first_bad_line_ = 0;
};

// "Europe" for "EU" and so on; "" for a code that is none of the seven.
std::string_view continent_name(std::string_view code);

}  // namespace tarvenix
