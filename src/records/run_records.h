// The records one conversion run owns besides its run log: the counters of the summary and
// the two credit tables that keep the credited QSO of every entity and CQ Zone. All start zero and
// empty and die with the run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvenix {

// Counters of one run; each is printed by one summary line of the run log.
struct RunStats {
  int32_t entities_confirmed = 0;
  int32_t zones_confirmed = 0;
  int32_t no_dxcc_prefix = 0;
  int32_t bad_dxcc_prefix = 0;
  int32_t no_cq_zone = 0;
  int32_t bad_cq_zone = 0;
  int32_t bad_mode = 0;
  int32_t no_callsign = 0;
  int32_t no_date = 0;
  int32_t no_time = 0;
  int32_t time_off_used = 0;
  int32_t maritime_mobile = 0;
  int32_t invalid_calls = 0;
  int32_t busted_calls = 0;
  int32_t no_band_or_frequency = 0;
  int32_t band_frequency_mismatch = 0;
  int32_t bad_band = 0;
  int32_t bad_frequency = 0;
  int32_t not_selected_band = 0;
  int32_t not_selected_mode = 0;
  int32_t wrong_year = 0;
  int32_t dxcc_from_country_file = 0;     // not rejections: QSOs without DXCC or CQZ whose
  int32_t cq_zone_from_country_file = 0;  // call the country file located
  int32_t impossible_cq_zone = 0;         // a CQZ not a zone of the QSO's entity, replaced
  int32_t qsos_read = 0;                  // also the ordinal of the QSO being evaluated
};

inline constexpr int entity_slots = 907;        // entity codes 0 to 906
inline constexpr int zone_slots = 41;           // CQ Zones 1 to 40; slot 0 unused
inline constexpr int zone_row_offset = 350;     // zone z is written to row z + 350
inline constexpr size_t credit_call_size = 17;  // 16 characters and the terminator

// Where a zone record's QSO took its CQ Zone from: its CQZ, its state or province, its
// position (LAT and LON), its grid square, or its call in the country file.
enum class ZoneSource : uint8_t { log, state, position, grid_square, call };

inline constexpr size_t zone_evidence_size = 24;  // "N040 30.000 W074 00.000" and a terminator

// The credited QSO of one entity or one CQ Zone, and where it goes on the Scoresheet.
struct CreditRecord {
  int8_t month = 0;
  int8_t day = 0;
  int16_t time = 0;                  // HHMM
  int16_t band = 0;                  // band index 1 to 13
  int8_t mode = 0;                   // mode class 1 to 3
  char call[credit_call_size] = {};  // empty while nothing is credited
  int32_t code = 0;                  // entity: its code; zone: the entity code of the credited QSO
  uint8_t zone = 0;                  // zone records: 1 to 40
  int32_t row = 0;                   // Scoresheet row index, counted from 0
  std::string name;                  // entity records: the name on the Scoresheet
  std::string prefix;                // entity records: the prefix word on the Scoresheet
  uint8_t confirmed = 0;
  // Entity records: the credited QSO had no DXCC, so the country file gave its code.
  uint8_t from_country_file = 0;
  // Zone records: where the zone came from, and the record's text that told it.
  ZoneSource zone_source = ZoneSource::log;
  char zone_evidence[zone_evidence_size] = {};
  // Entity records: the log's DXCC and the country file's entity for the call, when they
  // differ; else 0.
  int32_t logged_dxcc = 0;
  int32_t file_dxcc = 0;
  std::string file_entity;

  bool has_call() const { return call[0] != '\0'; }
  // The credit rests on the call sign alone: the country file gave the entity, or the zone.
  bool rests_on_call() const {
    return zone != 0 ? zone_source == ZoneSource::call : from_country_file != 0;
  }
  std::string_view call_text() const { return call; }
  // Keeps the first 16 characters of `text`.
  void set_call(std::string_view text);
};

// Slots indexed by entity code or zone; a slot either holds one record or is empty.
class CreditTable {
 public:
  explicit CreditTable(int slots) : slots_(static_cast<size_t>(slots)) {}

  int size() const { return static_cast<int>(slots_.size()); }
  // The record in slot `index`, or null when the slot is empty or out of range.
  CreditRecord* find(int index);
  const CreditRecord* find(int index) const;
  // Puts a fresh record into slot `index` (replacing any) and returns it; null when the
  // index is out of range.
  CreditRecord* create(int index);
  void clear();

 private:
  std::vector<std::optional<CreditRecord>> slots_;
};

// 907 slots by entity code; filled with empty-call records by the entity map.
struct EntityCreditTable : CreditTable {
  EntityCreditTable() : CreditTable(entity_slots) {}
};

// 41 slots by CQ Zone; the evaluation creates a record on a zone's first accepted QSO.
struct ZoneCreditTable : CreditTable {
  ZoneCreditTable() : CreditTable(zone_slots) {}
};

}  // namespace tarvenix
