// The HTTP client on Windows, over WinInet. Failures are shown in message boxes.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <memory>

#include "net/http_client.h"
#include "net/platform.h"

namespace tarvenix {
namespace {

// Request flags: always fetch from the server, never from a cache; no dialogs of WinInet's
// own; TLS for HTTPS.
constexpr DWORD request_flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_UI;
static_assert(request_flags == 0x80000200);
static_assert((request_flags | INTERNET_FLAG_SECURE) == 0x80800200);

struct InternetHandleCloser {
  void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;

std::optional<DWORD> query_info_level(ResponseHeader header) {
  switch (header) {
    case ResponseHeader::last_modified:
      return HTTP_QUERY_LAST_MODIFIED;
    case ResponseHeader::status_code:
      return HTTP_QUERY_STATUS_CODE;
    case ResponseHeader::status_text:
      return HTTP_QUERY_STATUS_TEXT;
    case ResponseHeader::content_length:
      return HTTP_QUERY_CONTENT_LENGTH;
  }
  return std::nullopt;
}

}  // namespace

struct InternetSession::Impl {
  InternetHandle root;
};

struct HttpRequest::Impl {
  InternetHandle connection;
  InternetHandle request;  // declared last, so closed before its connection
};

void InternetSession::ImplDeleter::operator()(Impl* impl) const {
  std::default_delete<Impl>()(impl);
}
void HttpRequest::ImplDeleter::operator()(Impl* impl) const {
  std::default_delete<Impl>()(impl);
}

int last_internet_error() {
  return int(GetLastError());
}
void set_last_internet_error(int code) {
  SetLastError(DWORD(code));
}

void platform_present_error(OwnerWindow owner, std::string_view caption, std::string_view text) {
  MessageBoxA(static_cast<HWND>(owner), std::string(text).c_str(), std::string(caption).c_str(),
              MB_ICONHAND);
}

InternetSession open_internet(std::string_view proxy) {
  std::string proxy_name(proxy);
  DWORD access = proxy_name.empty() ? INTERNET_OPEN_TYPE_PRECONFIG : INTERNET_OPEN_TYPE_PROXY;
  InternetHandle root(InternetOpenA(std::string(user_agent).c_str(), access,
                                    proxy_name.empty() ? nullptr : proxy_name.c_str(), nullptr, 0));
  if (!root) return {};
  return InternetSession(make_handle_impl<InternetSession>(std::move(root)));
}

HttpRequest open_url(OwnerWindow owner, const InternetSession& session, const WebServer& server,
                     std::string_view path, bool useHttps) {
  RequestTarget target = resolve_request_target(server, useHttps);
  std::string object = "/";
  object += path;
  auto fail = [&](const char* step, const std::string& url) {
    int code = last_internet_error();
    report_internet_failure(owner, step, code, url);
    return HttpRequest();
  };

  HINTERNET root = session ? session.impl().root.get() : nullptr;
  InternetHandle connection(InternetConnectA(root, target.host.c_str(), target.port, nullptr,
                                             nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return fail("InternetConnect", request_url(target));

  DWORD flags = request_flags | (target.secure ? INTERNET_FLAG_SECURE : 0);
  InternetHandle request(HttpOpenRequestA(connection.get(), "GET", object.c_str(), nullptr, nullptr,
                                          nullptr, flags, 0));
  if (!request) return fail("HttpOpenRequest", request_url(target, path));
  if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) {
    return fail("HttpSendRequest", request_url(target, path));
  }
  auto impl = make_handle_impl<HttpRequest>(std::move(connection), std::move(request));
  return HttpRequest(std::move(impl), std::move(target), std::string(path));
}

std::optional<std::string> query_response_header(const HttpRequest& request,
                                                 ResponseHeader header) {
  auto level = query_info_level(header);
  if (!request || !level) return std::nullopt;
  std::string value(64, '\0');
  for (;;) {
    DWORD length = DWORD(value.size());
    DWORD index = 0;
    if (HttpQueryInfoA(request.impl().request.get(), *level, value.data(), &length, &index)) {
      value.resize(length);
      return value;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    value.resize(length + 1);
  }
}

BlockRead read_body_block(HttpRequest& request, char* buffer, size_t capacity) {
  HINTERNET handle = request.impl().request.get();
  DWORD available = 0;
  if (!InternetQueryDataAvailable(handle, &available, 0, 0)) {
    return {0, "InternetQueryDataAvailable"};
  }
  DWORD wanted = std::min(available, DWORD(capacity));
  DWORD received = 0;
  if (!InternetReadFile(handle, buffer, wanted, &received)) return {0, "InternetReadFile"};
  return {received, nullptr};
}

}  // namespace tarvenix
