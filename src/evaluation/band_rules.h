// The thirteen bands a QSO may be on, found from its BAND text, its FREQ value or both, and
// the check that the QSO is on the band the operator selected.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "adif/record.h"
#include "evaluation/rule_answer.h"

namespace tarvenix {

// The operator's Band selection; its value is the band index.
enum class Band : uint8_t { all, m160, m80, m60, m40, m30, m20, m17, m15, m12, m10, m6, m4, m2 };

// Position = band index; 0 "All" is the operator's "any band", or "no band" as a result.
inline constexpr std::array<std::string_view, 14> BAND_NAMES = {
    "All", "160M", "80M", "60M", "40M", "30M", "20M", "17M", "15M", "12M", "10M", "6M", "4M", "2M"};

struct BandEdges {
  double lower;  // MHz
  double upper;
};

// Edges of bands 1 to 13 (BAND_EDGES[i - 1] is band i); both columns ascend.
inline constexpr std::array<BandEdges, 13> BAND_EDGES = {{{1.8, 2.0},
                                                          {3.5, 4.0},
                                                          {5.275, 5.45},
                                                          {7.0, 7.3},
                                                          {10.1, 10.15},
                                                          {14.0, 14.35},
                                                          {18.068, 18.168},
                                                          {21.0, 21.45},
                                                          {24.89, 24.99},
                                                          {28.0, 29.7},
                                                          {50.0, 54.0},
                                                          {70.0, 70.5},
                                                          {144.0, 148.0}}};

// Allowed below a band's lower edge, in MHz.
inline constexpr double FREQ_TOLERANCE = 0.001;

// The band index 1 to 13 named by the text's leading number ("20m", "20", "20CM" are all
// 20 metres), or 0 for an absent text or no band of the table.
int band_index_of(const AdifField* band);
int band_index_of(std::string_view text);

// The wavelength of band index 1 to 13 in metres, the leading number of its name; 0 for
// any other index.
int band_metres(int band);

// The band index 1 to 13 whose range holds `mhz`, or 0 for none.
int band_index_of_frequency(double mhz);

// The QSO's band index 1 to 13 on the selected band, or 0 with the rejection's reason and
// counter.
RuleAnswer check_band(const QsoRecord& record, Band selected);

}  // namespace tarvenix
