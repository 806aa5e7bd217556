// Where this build of the program finds its web servers, and the key its updates must be
// signed with. The program itself uses the servers and key it was configured with; the
// loopback test build lets its tests name servers on 127.0.0.1 instead, and takes the
// build's throwaway key, whose private half the tests sign with.
#pragma once

#include <cstdint>
#include <span>

#include "net/web_endpoints.h"

namespace tarvenix {

// `useHttps` is on; start-up clears it where HTTPS cannot be used.
WebEndpoints program_web_endpoints();

// The public key of program updates, as update_signature.h takes it.
std::span<const uint8_t> update_public_key();

}  // namespace tarvenix
