// Band and frequency rules.
#include "evaluation/band_rules.h"

#include <algorithm>

#include "evaluation/field_numbers.h"
#include "records/format_text.h"
#include "records/printf_format.h"
#include "records/text_compare.h"

namespace tarvenix {

namespace {

// Leading numbers of the band names 1 to 13, strictly descending.
constexpr std::array<int32_t, 13> metres_of_bands = {160, 80, 60, 40, 30, 20, 17,
                                                     15,  12, 10, 6,  4,  2};

}  // namespace

int band_index_of(std::string_view text) {
  const int32_t metres = leading_int(text);
  const auto it = std::lower_bound(metres_of_bands.begin(), metres_of_bands.end(), metres,
                                   [](int32_t name, int32_t n) { return name > n; });
  if (it == metres_of_bands.end() || *it != metres) return 0;
  return static_cast<int>(it - metres_of_bands.begin()) + 1;
}

int band_metres(int band) {
  if (band < 1 || band > static_cast<int>(metres_of_bands.size())) return 0;
  return metres_of_bands[static_cast<size_t>(band - 1)];
}

int band_index_of(const AdifField* band) {
  return band == nullptr ? 0 : band_index_of(band->value);
}

int band_index_of_frequency(double mhz) {
  // The first band whose upper edge is not below the frequency; a frequency just above an
  // upper edge thus meets the next band and fails its lower edge.
  const auto it = std::lower_bound(BAND_EDGES.begin(), BAND_EDGES.end(), mhz,
                                   [](const BandEdges& e, double f) { return e.upper < f; });
  if (it == BAND_EDGES.end() || !(mhz > it->lower - FREQ_TOLERANCE)) return 0;
  return static_cast<int>(it - BAND_EDGES.begin()) + 1;
}

RuleAnswer check_band(const QsoRecord& record, Band selected) {
  RuleAnswer answer;
  std::string& reason = answer.reason;
  const AdifField* freq = record.freq;
  const AdifField* band = record.band;
  if (band == nullptr && freq == nullptr) {
    reason = "does not have either BAND or FREQ";
    answer.counter = &RunStats::no_band_or_frequency;
    return answer;
  }
  int freq_index = 0;
  if (freq != nullptr) {
    freq_index = band_index_of_frequency(leading_double(freq->value));
    if (freq_index == 0) {
      format_to(reason, "has an invalid frequency (%.*s)", print_length(freq->value),
                freq->value.data());
      answer.counter = &RunStats::bad_frequency;
      return answer;
    }
  }
  int index = freq_index;
  std::string_view display = freq != nullptr ? BAND_NAMES[freq_index] : std::string_view();
  if (band != nullptr) {
    index = band_index_of(band->value);
    if (index == 0) {
      format_to(reason, "has an invalid band (%.*s)", print_length(band->value),
                band->value.data());
      answer.counter = &RunStats::bad_band;
      return answer;
    }
    if (freq != nullptr && !equal_ignoring_case(band->value, BAND_NAMES[freq_index])) {
      format_to(reason, "Band (%.*s) does not match Frequency (%.*s)", print_length(band->value),
                band->value.data(), print_length(freq->value), freq->value.data());
      answer.counter = &RunStats::band_frequency_mismatch;
      return answer;
    }
    if (freq == nullptr) display = band->value;
  }
  if (selected == Band::all || static_cast<int>(selected) == index) {
    answer.value = index;
    return answer;
  }
  format_to(reason, "%.*s is not for the selected Band", print_length(display), display.data());
  answer.counter = &RunStats::not_selected_band;
  return answer;
}

}  // namespace tarvenix
