// Server URLs: parsing, the build's defaults, and the scheme and port a request really uses.
#include "net/web_endpoints.h"

#include <charconv>

namespace tarvenix {
namespace {

constexpr uint16_t https_port = 443;
constexpr uint16_t http_port = 80;

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] - 'A' + 'a') : a[i];
    if (x != b[i]) return false;
  }
  return true;
}

bool is_host_character(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '-' || c == '_';
}

std::optional<uint16_t> parse_port(std::string_view digits) {
  unsigned value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  if (value == 0 || value > 65535) return std::nullopt;
  return uint16_t(value);
}

}  // namespace

std::optional<WebUrl> parse_web_url(std::string_view url) {
  size_t scheme_end = url.find("://");
  if (scheme_end == std::string_view::npos) return std::nullopt;
  WebUrl result;
  std::string_view scheme = url.substr(0, scheme_end);
  if (equals_ignoring_case(scheme, "https")) {
    result.server.https = true;
  } else if (!equals_ignoring_case(scheme, "http")) {
    return std::nullopt;
  }
  std::string_view rest = url.substr(scheme_end + 3);
  size_t slash = rest.find('/');
  std::string_view authority = rest.substr(0, slash);
  if (slash != std::string_view::npos) result.path = rest.substr(slash + 1);

  size_t colon = authority.find(':');
  std::string_view host = authority.substr(0, colon);
  if (host.empty()) return std::nullopt;
  for (char c : host) {
    if (!is_host_character(c)) return std::nullopt;
  }
  result.server.host = host;
  if (colon != std::string_view::npos) {
    auto port = parse_port(authority.substr(colon + 1));
    if (!port) return std::nullopt;
    result.server.port = *port;
  }
  return result;
}

std::optional<WebServer> parse_web_server(std::string_view url) {
  auto parsed = parse_web_url(url);
  if (!parsed || !parsed->path.empty()) return std::nullopt;
  return parsed->server;
}

WebEndpoints default_web_endpoints() {
  WebEndpoints endpoints;
  // The build checks the URLs, so these parse; an empty server would fail every request.
  endpoints.contestHost = parse_web_server(TARVENIX_CONTEST_URL).value_or(WebServer{});
  endpoints.authorHost = parse_web_server(TARVENIX_AUTHOR_URL).value_or(WebServer{});
  endpoints.updatePath = update_path;
  endpoints.country_file_url = parse_web_url(TARVENIX_COUNTRY_FILE_URL).value_or(WebUrl{});
  return endpoints;
}

RequestTarget resolve_request_target(const WebServer& server, bool useHttps) {
  RequestTarget target;
  target.secure = server.https && useHttps;
  target.host = server.host;
  target.port = server.port != 0 ? server.port : target.secure ? https_port : http_port;
  return target;
}

std::string_view request_scheme(const RequestTarget& target) {
  return target.secure ? "https" : "http";
}

std::string request_authority(const RequestTarget& target) {
  uint16_t own_port = target.secure ? https_port : http_port;
  if (target.port == own_port) return target.host;
  return target.host + ":" + std::to_string(target.port);
}

std::string request_url(const RequestTarget& target, std::optional<std::string_view> path) {
  std::string url(request_scheme(target));
  url += "://";
  url += request_authority(target);
  if (path) {
    url += '/';
    url += *path;
  }
  return url;
}

}  // namespace tarvenix
