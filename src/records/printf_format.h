// printf helpers: the format attribute, with which the compiler checks every format string of
// ours against its arguments, and the length of a view for "%.*s".
#pragma once

#include <cstdint>
#include <string_view>

#if defined(__GNUC__)
#define TARVENIX_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define TARVENIX_PRINTF(fmt, args)
#endif

namespace tarvenix {

// A view's length for a "%.*s" conversion.
inline int print_length(std::string_view text) {
  return text.size() > INT32_MAX ? INT32_MAX : static_cast<int>(text.size());
}

}  // namespace tarvenix
