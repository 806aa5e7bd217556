// The data behind the CQ Zone of a place in the United States or Canada: the outline of
// every contiguous US state (generated, us_state_outlines.cpp) and the regions of Canada's
// zones (drawn by hand from the zone definitions, canada_zone_outlines.cpp). Points are in
// hundredths of a degree, east and north positive; an outline closes on its first point.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tarvenix {

struct OutlinePoint {
  int16_t lon;
  int16_t lat;
};

struct StateOutline {
  char state[3];   // postal code
  uint32_t first;  // index of its first point in us_state_points
  uint32_t count;
};

extern const std::span<const OutlinePoint> us_state_points;
extern const StateOutline us_state_outlines[];
extern const size_t us_state_outline_count;

struct ZoneOutline {
  int zone;
  std::vector<OutlinePoint> points;
};

std::vector<ZoneOutline> canada_zone_outlines();

}  // namespace tarvenix
