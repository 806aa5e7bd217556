// The limits in force for every request.
#include "net/request_limits.h"

#include <utility>

namespace tarvenix {
namespace {

RequestLimits& limits_in_force() {
  static RequestLimits limits;
  return limits;
}

}  // namespace

const RequestLimits& request_limits() {
  return limits_in_force();
}

RequestLimits set_request_limits(const RequestLimits& limits) {
  return std::exchange(limits_in_force(), limits);
}

}  // namespace tarvenix
