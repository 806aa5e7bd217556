// The CQ Zone of a US state or a Canadian province or territory, as the zone definitions
// give them. The provinces and territories that two zones share (QC, NL, NT, NU) have none.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarvenix {

inline constexpr int32_t united_states = 291;
inline constexpr int32_t canada = 1;

// The zone of the two-letter code (any case) for an entity of `dxcc`, or 0.
int subdivision_zone(int32_t dxcc, std::string_view code);

}  // namespace tarvenix
