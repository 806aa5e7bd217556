// The contest this build is for.
#pragma once

#include <cstdint>

#include "edition.h"

namespace tarvenix {

// The only year whose QSOs count, the build's TARVENIX_CONTEST_YEAR; also shown in the window
// title, every message box caption, the Scoresheet and the results page.
inline constexpr int32_t CONTEST_YEAR = TARVENIX_CONTEST_YEAR;

}  // namespace tarvenix
