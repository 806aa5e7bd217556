// What each HTTP backend (WinInet, libcurl) provides to the portable part of the client.
// Private to src/net.
#pragma once

#include <cstddef>
#include <string_view>

#include "net/http_client.h"

namespace tarvenix {

// The platform's way of showing an error: a message box, or a line on standard error.
void platform_present_error(OwnerWindow owner, std::string_view caption, std::string_view text);

// One read of the body: up to `capacity` bytes into `buffer`, waiting for them when none
// are ready. `size` 0 means the body has ended. On failure `failed_step` names the step and
// the last internet error holds the code.
struct BlockRead {
  size_t size = 0;
  const char* failed_step = nullptr;
};
BlockRead read_body_block(HttpRequest& request, char* buffer, size_t capacity);

// report_internet_error with the code given rather than read (so that nothing done while
// forming the URL text can overwrite it).
int report_internet_failure(OwnerWindow owner, std::string_view step, int code,
                            std::string_view url);

}  // namespace tarvenix
