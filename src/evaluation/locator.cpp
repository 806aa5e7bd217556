// Reading locators and ADIF positions, checked character by character.
#include "evaluation/locator.h"

#include "records/text_compare.h"

namespace tarvenix {

namespace {

// One pair of a locator: its letters or digits, and the size of a step in degrees of
// longitude (latitude steps are half as large).
struct LocatorPair {
  char first;
  char last;
  double lon_step;
};
constexpr LocatorPair locator_pairs[] = {
    {'A', 'R', 20.0}, {'0', '9', 2.0}, {'A', 'X', 2.0 / 24}, {'0', '9', 2.0 / 240}};

// "XDDD MM.MMM": X one of the two hemisphere letters, DDD at most `most_degrees`.
std::optional<double> adif_location(std::string_view text, char positive, char negative,
                                    int most_degrees) {
  if (text.size() != 11 || text[4] != ' ' || text[7] != '.') return std::nullopt;
  const char hemisphere = ascii_upper(text[0]);
  if (hemisphere != positive && hemisphere != negative) return std::nullopt;
  int degrees = 0, thousandths = 0;
  for (size_t i : {1, 2, 3}) {
    if (!is_digit(text[i])) return std::nullopt;
    degrees = degrees * 10 + (text[i] - '0');
  }
  for (size_t i : {5, 6, 8, 9, 10}) {
    if (!is_digit(text[i])) return std::nullopt;
    thousandths = thousandths * 10 + (text[i] - '0');
  }
  const double value = degrees + thousandths / 60000.0;
  if (thousandths >= 60000 || value > most_degrees) return std::nullopt;
  return hemisphere == positive ? value : -value;
}

}  // namespace

std::optional<GeoArea> locator_area(std::string_view locator) {
  if (locator.size() != 4 && locator.size() != 6 && locator.size() != 8) return std::nullopt;
  double lon = -180, lat = -90, lon_step = 0;
  for (size_t pair = 0; pair * 2 < locator.size(); ++pair) {
    const LocatorPair& kind = locator_pairs[pair];
    const char x = ascii_upper(locator[pair * 2]), y = ascii_upper(locator[pair * 2 + 1]);
    if (x < kind.first || x > kind.last || y < kind.first || y > kind.last) return std::nullopt;
    lon_step = kind.lon_step;
    lon += (x - kind.first) * lon_step;
    lat += (y - kind.first) * lon_step / 2;
  }
  return GeoArea{lon, lat, lon + lon_step, lat + lon_step / 2};
}

std::optional<GeoArea> position_point(std::string_view lat, std::string_view lon) {
  const std::optional<double> north = adif_location(lat, 'N', 'S', 90);
  const std::optional<double> east = adif_location(lon, 'E', 'W', 180);
  if (!north || !east) return std::nullopt;
  return GeoArea{*east, *north, *east, *north};
}

}  // namespace tarvenix
