// The web servers of the loopback test build (tarvenix.exe under build/.../loopback): the
// end-to-end tests name their servers in TARVENIX_TEST_CONTEST_URL ("http://127.0.0.1:PORT"),
// TARVENIX_TEST_UPDATE_URL (server and update path) and TARVENIX_TEST_COUNTRY_FILE_URL (the
// country file's address). Only loopback servers are taken;
// anything else leaves a server that cannot be reached, never the configured ones. Updates
// are signed with the build's throwaway key.
#include <cstdlib>

#include "ui/win32/program_endpoints.h"
#include "update_keys.h"

namespace tarvenix {
namespace {

std::optional<WebUrl> loopback_url(const char* variable) {
  const char* text = std::getenv(variable);
  if (text == nullptr) return std::nullopt;
  auto url = parse_web_url(text);
  if (!url || url->server.host != "127.0.0.1") return std::nullopt;
  return url;
}

WebServer unreachable_server() {
  WebServer server;
  server.host = "127.0.0.1";
  server.port = 9;  // discard: nothing answers there
  return server;
}

}  // namespace

WebEndpoints program_web_endpoints() {
  WebEndpoints endpoints = default_web_endpoints();
  const auto contest = loopback_url("TARVENIX_TEST_CONTEST_URL");
  const auto update = loopback_url("TARVENIX_TEST_UPDATE_URL");
  endpoints.contestHost = contest ? contest->server : unreachable_server();
  endpoints.authorHost = update ? update->server : unreachable_server();
  if (update) endpoints.updatePath = update->path;
  const auto country_file = loopback_url("TARVENIX_TEST_COUNTRY_FILE_URL");
  endpoints.country_file_url = country_file.value_or(WebUrl{unreachable_server(), "cty.csv"});
  return endpoints;
}

std::span<const uint8_t> update_public_key() {
  return loopback_update_key;
}

}  // namespace tarvenix
