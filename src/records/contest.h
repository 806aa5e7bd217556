// The contest this build is for.
#pragma once

#include <cstdint>

namespace tarvenix {

// The only year whose QSOs count; also shown in the window title, every message box caption
// and the Scoresheet.
inline constexpr int32_t CONTEST_YEAR = 2024;

}  // namespace tarvenix
