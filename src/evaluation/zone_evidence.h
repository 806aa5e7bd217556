// Where a QSO's CQ Zone comes from while the country file is in use, strongest evidence
// first: the log's CQZ when it is one of the zones of the QSO's entity; the station's US
// state or Canadian province; its position (LAT and LON, else GRIDSQUARE); at last its call
// in the country file. Malformed fields are passed over.
#pragma once

#include <cstdint>
#include <string_view>

#include "adif/record.h"
#include "evaluation/call_country.h"
#include "records/run_records.h"

namespace tarvenix {

struct ZoneFinding {
  int zone = 0;  // 0: none found
  ZoneSource source = ZoneSource::log;
  std::string_view text;       // the field that told it: state, grid square or latitude
  std::string_view more_text;  // the longitude beside the latitude
  bool impossible = false;     // the log's CQZ, `logged`, is not a zone of the entity
  int32_t logged = 0;
};

// `dxcc` is the log's entity (else the call's); `country` has a file.
ZoneFinding find_zone(const QsoRecord& record, int32_t dxcc, CallCountry& country);

// The zone the station's state, province or position give for an entity of `dxcc`.
ZoneFinding zone_from_record(const QsoRecord& record, int32_t dxcc);

}  // namespace tarvenix
