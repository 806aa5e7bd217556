// The bounds every request keeps, whatever the server does: a server that never answers,
// sends its body a byte at a time, redirects to itself or sends without end cannot keep a
// run waiting or fill the disk. Both backends read them here.
#pragma once

#include <chrono>
#include <cstdint>

namespace tarvenix {

struct RequestLimits {
  std::chrono::milliseconds connect{30'000};         // to open the connection
  std::chrono::milliseconds whole_request{120'000};  // from sending to the body's last byte
  int redirects = 10;                                // followed, at most
  int64_t body_bytes = int64_t(64) << 20;            // 64 MiB, announced or received
};

// The limits in force (the ones above, unless a test has shortened them).
const RequestLimits& request_limits();
// Tests shorten the limits so that they end quickly; returns the ones before.
RequestLimits set_request_limits(const RequestLimits& limits);

}  // namespace tarvenix
