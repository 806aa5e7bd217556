// Where the program's web resources live: the contest's server (bad-call list), the
// author's server (program updates) and the country file's publisher, given as URLs at build
// time.
//
// A server is a scheme, a host and an optional port. Requests to an https server use HTTPS
// only while `useHttps` is on (it is cleared on systems whose HTTPS stack is too old); then
// they fall back to plain HTTP. A port given in the URL is kept either way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvenix {

struct WebServer {
  bool https = false;  // the URL's scheme was https
  std::string host;    // name or dotted address, no brackets, no user part
  uint16_t port = 0;   // 0: the scheme's own port (443 or 80)
};

// A full address: a server and the path on it (without the leading slash).
struct WebUrl {
  WebServer server;
  std::string path;
};

struct WebEndpoints {
  bool useHttps = true;     // cleared where HTTPS cannot be used
  WebServer contestHost;    // serves the bad-call list
  WebServer authorHost;     // serves new versions of the program
  std::string updatePath;   // the program file on the author's server
  WebUrl country_file_url;  // the country file, cty.csv
};

inline constexpr std::string_view bad_calls_path = "resources/all-bad-calls.json";
inline constexpr std::string_view update_path = "software/tarvenix/tarvenix.exe";

// The endpoints this build was configured with (CMake cache variables TARVENIX_CONTEST_URL,
// TARVENIX_AUTHOR_URL and TARVENIX_COUNTRY_FILE_URL), `useHttps` on.
WebEndpoints default_web_endpoints();

// "scheme://host[:port][/path]" with scheme http or https (any case); nothing when the text
// is not such a URL. The path keeps everything after the first slash, query included.
std::optional<WebUrl> parse_web_url(std::string_view url);
// The same, for a URL that names only a server (no path, or just "/").
std::optional<WebServer> parse_web_server(std::string_view url);

// What a request to `server` really uses once the `useHttps` rule is applied.
struct RequestTarget {
  bool secure = false;
  std::string host;
  uint16_t port = 0;  // never 0
};
RequestTarget resolve_request_target(const WebServer& server, bool useHttps);

// "http" or "https".
std::string_view request_scheme(const RequestTarget& target);
// The host, with ":port" when the port is not the scheme's own.
std::string request_authority(const RequestTarget& target);
// "scheme://authority", and "/path" after it when `path` is given.
std::string request_url(const RequestTarget& target, std::optional<std::string_view> path = {});

}  // namespace tarvenix
