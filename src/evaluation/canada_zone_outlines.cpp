// The regions of Canada's CQ Zones, drawn by hand from the zone definitions: 1 Yukon and the
// Northwest Territories and Nunavut west of 102 W; 2 those two east of 102 W, Quebec north
// of 50 N and Labrador; 3 British Columbia; 4 Alberta, Saskatchewan, Manitoba and Ontario;
// 5 the Maritimes, Quebec south of 50 N and the island of Newfoundland. The lines are 60 N,
// 102 W and 50 N; the British Columbia and Alberta border (the Continental Divide to 120 W,
// then 120 W), the Ontario and Quebec border (the Ottawa River, then 79.52 W) and the
// Strait of Belle Isle between Newfoundland and Labrador follow their towns and passes to a
// few kilometres. Each region reaches into the sea and past the border with the United
// States, where no Canadian station is; the islands of Hudson and James Bay (Nunavut) are
// not told apart from the Ontario shore.
#include "evaluation/zone_outlines.h"

#include <initializer_list>

namespace tarvenix {

namespace {

using Line = std::span<const OutlinePoint>;

// The borders that are not lines of latitude or longitude, from south or west.
constexpr OutlinePoint alberta_west[] = {{-11406, 4900}, {-11468, 4963}, {-11550, 5075},
                                         {-11629, 5145}, {-11846, 5288}, {-12000, 5380}};
constexpr OutlinePoint ottawa_river[] = {{-7450, 4500}, {-7433, 4523}, {-7438, 4556}, {-7460, 4562},
                                         {-7570, 4544}, {-7635, 4547}, {-7710, 4583}, {-7750, 4610},
                                         {-7870, 4632}, {-7910, 4672}, {-7952, 4745}};
constexpr OutlinePoint belle_isle[] = {
    {-5830, 5000}, {-5760, 5100}, {-5690, 5138}, {-5560, 5175}, {-5500, 5210}};

// Corners are lines of two points or one.
std::vector<OutlinePoint> joined(std::initializer_list<std::vector<OutlinePoint>> pieces) {
  std::vector<OutlinePoint> points;
  for (const std::vector<OutlinePoint>& piece : pieces)
    points.insert(points.end(), piece.begin(), piece.end());
  return points;
}

std::vector<OutlinePoint> forward(Line line) {
  return {line.begin(), line.end()};
}

std::vector<OutlinePoint> backward(Line line) {
  return {line.rbegin(), line.rend()};
}

}  // namespace

std::vector<ZoneOutline> canada_zone_outlines() {
  return {
      {1, {{-17000, 6000}, {-10200, 6000}, {-10200, 8500}, {-17000, 8500}}},
      {2, {{-10200, 6000}, {-4000, 6000}, {-4000, 8500}, {-10200, 8500}}},
      {2,
       joined(
           {{{-7952, 5000}}, forward(belle_isle), {{-4000, 5210}, {-4000, 6000}, {-7952, 6000}}})},
      {3, joined({{{-17000, 4000}, {-11406, 4000}},
                  forward(alberta_west),
                  {{-12000, 6000}, {-17000, 6000}}})},
      {4, joined({{{-11406, 4000}, {-7450, 4000}},
                  forward(ottawa_river),
                  {{-7952, 6000}, {-12000, 6000}},
                  backward(alberta_west)})},
      {5, joined({{{-7450, 4000}, {-4000, 4000}, {-4000, 5210}},
                  backward(belle_isle),
                  {{-7952, 5000}},
                  backward(ottawa_river)})},
  };
}

}  // namespace tarvenix
