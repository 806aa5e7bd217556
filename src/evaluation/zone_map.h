// The CQ Zone of a place, for a station of the United States or Canada, from the outlines
// of zone_outlines.h. An area (a locator's square) has a zone only when all the land it
// touches lies in one zone: a square that straddles a boundary has none.
#pragma once

#include <cstdint>

#include "evaluation/locator.h"

namespace tarvenix {

// The zone, or 0: another entity, a place outside every outline, or a straddled boundary.
int zone_at(int32_t dxcc, const GeoArea& area);

}  // namespace tarvenix
