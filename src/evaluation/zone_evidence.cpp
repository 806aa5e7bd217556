// The zone rules in their order.
#include "evaluation/zone_evidence.h"

#include "evaluation/field_numbers.h"
#include "evaluation/subdivision_zones.h"
#include "evaluation/zone_map.h"

namespace tarvenix {

namespace {

constexpr int last_zone = 40;

std::string_view value_of(const QsoRecord& record, std::string_view name) {
  const AdifField* field = record.find(name);
  return field == nullptr ? std::string_view() : field->value;
}

ZoneFinding zone_from_subdivision(const QsoRecord& record, int32_t dxcc) {
  // Canadian logs name the province in VE_PROV, or (as ADIF 3 has it) in STATE.
  for (std::string_view name : {"VE_PROV", "STATE"}) {
    if (name == "VE_PROV" && dxcc != canada) continue;
    const std::string_view code = value_of(record, name);
    if (const int zone = subdivision_zone(dxcc, code)) return {zone, ZoneSource::state, code};
  }
  return {};
}

ZoneFinding zone_from_position(const QsoRecord& record, int32_t dxcc) {
  const std::string_view lat = value_of(record, "LAT"), lon = value_of(record, "LON");
  if (const auto point = position_point(lat, lon)) {
    if (const int zone = zone_at(dxcc, *point)) return {zone, ZoneSource::position, lat, lon};
  }
  const std::string_view locator = value_of(record, "GRIDSQUARE");
  if (const auto square = locator_area(locator)) {
    if (const int zone = zone_at(dxcc, *square)) return {zone, ZoneSource::grid_square, locator};
  }
  return {};
}

// The call's zone when the file puts the call in the QSO's entity, else the entity's own.
ZoneFinding zone_from_call(int32_t dxcc, CallCountry& country) {
  const CountryMatch& match = country.match();
  if (match && match.dxcc == dxcc) return {match.cq_zone, ZoneSource::call};
  const CountryEntity* entity = country.file()->entity_of(dxcc);
  return entity == nullptr ? ZoneFinding{} : ZoneFinding{entity->cq_zone, ZoneSource::call};
}

}  // namespace

ZoneFinding zone_from_record(const QsoRecord& record, int32_t dxcc) {
  if (dxcc != united_states && dxcc != canada) return {};
  const ZoneFinding found = zone_from_subdivision(record, dxcc);
  return found.zone != 0 ? found : zone_from_position(record, dxcc);
}

ZoneFinding find_zone(const QsoRecord& record, int32_t dxcc, CallCountry& country) {
  const AdifField* cqz = record.cqz;
  const bool logged = cqz != nullptr && !cqz->value.empty();
  const int32_t zone = logged ? leading_int(cqz->value) : 0;
  if (logged && zone >= 1 && zone <= last_zone) {
    // An entity the file does not know cannot be judged: its logged zone stands.
    const uint64_t zones = country.file()->zones_of(dxcc);
    if (zones == 0 || (zones >> zone & 1) != 0) return {zone, ZoneSource::log};
  }
  ZoneFinding found = zone_from_record(record, dxcc);
  if (found.zone == 0) found = zone_from_call(dxcc, country);
  if (found.zone != 0 && logged) {
    found.impossible = true;
    found.logged = zone;
  }
  return found;
}

}  // namespace tarvenix
