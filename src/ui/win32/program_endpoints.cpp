// The program's web servers: those the build was configured with.
#include "ui/win32/program_endpoints.h"

namespace tarvenix {

WebEndpoints program_web_endpoints() {
  return default_web_endpoints();
}

}  // namespace tarvenix
