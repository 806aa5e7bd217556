// Where a station is, as its record says: the Maidenhead locator of GRIDSQUARE (4, 6 or 8
// characters, any case) as the area it names, and ADIF's LAT and LON ("XDDD MM.MMM") as a
// point. Text in any other form gives nothing.
#pragma once

#include <optional>
#include <string_view>

namespace tarvenix {

// Degrees, east and north positive; a point has east == west and north == south.
struct GeoArea {
  double west = 0;
  double south = 0;
  double east = 0;
  double north = 0;
};

std::optional<GeoArea> locator_area(std::string_view locator);
std::optional<GeoArea> position_point(std::string_view lat, std::string_view lon);

}  // namespace tarvenix
