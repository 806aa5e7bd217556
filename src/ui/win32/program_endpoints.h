// Where this build of the program finds its web servers. The program itself uses the
// servers it was configured with; the loopback test build lets its tests name servers on
// 127.0.0.1 instead.
#pragma once

#include "net/web_endpoints.h"

namespace tarvenix {

// `useHttps` is on; start-up clears it where HTTPS cannot be used.
WebEndpoints program_web_endpoints();

}  // namespace tarvenix
