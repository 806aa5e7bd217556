// The program's web servers and update key: those the build was configured with.
#include "ui/win32/program_endpoints.h"

#include "update_keys.h"

namespace tarvenix {

WebEndpoints program_web_endpoints() {
  return default_web_endpoints();
}

std::span<const uint8_t> update_public_key() {
  return program_update_key;
}

}  // namespace tarvenix
