// Outlines tested against a point (even-odd rule) or against the inside of a square (an
// edge crossing it, or the square lying wholly inside), each outline's bounding box first.
#include "evaluation/zone_map.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "evaluation/subdivision_zones.h"
#include "evaluation/zone_outlines.h"

namespace tarvenix {

namespace {

// Hundredths of a degree, as the outlines. A square's edges are pulled in by this much, so
// that an outline running along its edge does not count as inside it.
constexpr double edge_margin = 1e-6;

struct Box {
  double west, south, east, north;
  bool is_point() const { return west == east && south == north; }
};

struct Region {
  int zone;
  std::vector<OutlinePoint> points;
  Box bounds;
};

Region region_of(int zone, std::vector<OutlinePoint> points) {
  Box bounds{1e9, 1e9, -1e9, -1e9};
  for (const OutlinePoint& p : points) {
    bounds = {std::min<double>(bounds.west, p.lon), std::min<double>(bounds.south, p.lat),
              std::max<double>(bounds.east, p.lon), std::max<double>(bounds.north, p.lat)};
  }
  return {zone, std::move(points), bounds};
}

std::vector<Region> us_regions() {
  std::vector<Region> regions;
  for (size_t i = 0; i < us_state_outline_count; ++i) {
    const StateOutline& state = us_state_outlines[i];
    const auto points = us_state_points.subspan(state.first, state.count);
    regions.push_back(region_of(subdivision_zone(united_states, state.state),
                                std::vector<OutlinePoint>(points.begin(), points.end())));
  }
  return regions;
}

std::vector<Region> canada_regions() {
  std::vector<Region> regions;
  for (ZoneOutline& outline : canada_zone_outlines())
    regions.push_back(region_of(outline.zone, std::move(outline.points)));
  return regions;
}

bool contains(const Region& region, double x, double y) {
  bool inside = false;
  const std::vector<OutlinePoint>& p = region.points;
  for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
    if ((p[i].lat > y) != (p[j].lat > y) &&
        x < double(p[j].lon - p[i].lon) * (y - p[i].lat) / (p[j].lat - p[i].lat) + p[i].lon) {
      inside = !inside;
    }
  }
  return inside;
}

// Liang and Barsky's clipping: whether any part of the segment lies inside the box.
bool segment_meets(const OutlinePoint& a, const OutlinePoint& b, const Box& box) {
  const double dx = b.lon - a.lon, dy = b.lat - a.lat;
  const double p[] = {-dx, dx, -dy, dy};
  const double q[] = {a.lon - box.west, box.east - a.lon, a.lat - box.south, box.north - a.lat};
  double enter = 0, leave = 1;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      enter = std::max(enter, t);
    else
      leave = std::min(leave, t);
    if (enter > leave) return false;
  }
  return true;
}

bool touches(const Region& region, const Box& box) {
  const Box& b = region.bounds;
  if (b.east < box.west || b.west > box.east || b.north < box.south || b.south > box.north)
    return false;
  if (box.is_point()) return contains(region, box.west, box.south);
  const std::vector<OutlinePoint>& p = region.points;
  for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
    if (segment_meets(p[j], p[i], box)) return true;
  return contains(region, (box.west + box.east) / 2, (box.south + box.north) / 2);
}

// The zone of every outline the box touches, when they agree.
int zone_touched(const std::vector<Region>& regions, const Box& box) {
  int found = 0;
  for (const Region& region : regions) {
    if (!touches(region, box)) continue;
    if (found != 0 && found != region.zone) return 0;
    found = region.zone;
  }
  return found;
}

Box inner_box(const GeoArea& area) {
  const Box box{area.west * 100, area.south * 100, area.east * 100, area.north * 100};
  if (box.is_point()) return box;
  return {box.west + edge_margin, box.south + edge_margin, box.east - edge_margin,
          box.north - edge_margin};
}

// An entity's outlines with the answer for every 4-character square (2 by 1 degrees) over
// them, worked out once: most places lie in a square of one zone (or of none) and need no
// outline walked.
class ZoneMap {
 public:
  explicit ZoneMap(std::vector<Region> regions) : regions_(std::move(regions)) {
    Box all{1e9, 1e9, -1e9, -1e9};
    for (const Region& r : regions_) {
      all = {std::min(all.west, r.bounds.west), std::min(all.south, r.bounds.south),
             std::max(all.east, r.bounds.east), std::max(all.north, r.bounds.north)};
    }
    west_ = static_cast<int>(std::floor(all.west / 200)) * 2;
    south_ = static_cast<int>(std::floor(all.south / 100));
    columns_ = static_cast<int>(std::ceil(all.east / 200)) - west_ / 2;
    rows_ = static_cast<int>(std::ceil(all.north / 100)) - south_;
    for (int row = 0; row < rows_; ++row) {
      for (int column = 0; column < columns_; ++column) {
        const double west = west_ + column * 2, south = south_ + row;
        const int zone = zone_touched(regions_, inner_box({west, south, west + 2, south + 1}));
        const bool has_land =
            zone != 0 || touches_any(inner_box({west, south, west + 2, south + 1}));
        squares_.push_back(static_cast<int8_t>(zone != 0 ? zone : has_land ? mixed : 0));
      }
    }
  }

  int zone_at(const GeoArea& area) const {
    const int column = static_cast<int>(std::floor((area.west - west_) / 2));
    const int row = static_cast<int>(std::floor(area.south - south_));
    if (column < 0 || column >= columns_ || row < 0 || row >= rows_) return 0;
    const bool within = area.east <= west_ + column * 2 + 2 && area.north <= south_ + row + 1;
    const int8_t square = squares_[static_cast<size_t>(row * columns_ + column)];
    if (within && square != mixed) return square;
    return zone_touched(regions_, inner_box(area));
  }

 private:
  static constexpr int8_t mixed = -1;

  bool touches_any(const Box& box) const {
    return std::any_of(regions_.begin(), regions_.end(),
                       [&box](const Region& r) { return touches(r, box); });
  }

  std::vector<Region> regions_;
  int west_ = 0, south_ = 0, columns_ = 0, rows_ = 0;  // degrees; squares
  std::vector<int8_t> squares_;                        // zone; 0: no land; else mixed
};

}  // namespace

int zone_at(int32_t dxcc, const GeoArea& area) {
  static const ZoneMap us(us_regions());
  static const ZoneMap canadian(canada_regions());
  if (dxcc == united_states) return us.zone_at(area);
  if (dxcc == canada) return canadian.zone_at(area);
  return 0;
}

}  // namespace tarvenix
