// The HTTP client on Windows, over WinInet. Failures are shown in message boxes.
//
// WinInet bounds neither the whole request nor (under Wine) the redirects it follows. Every
// socket wait here is given only the time left until the request's deadline, so a stalled
// server ends in a time-out and a trickling one at the deadline; and redirects are followed
// here, at most as many as the limits allow, never from HTTPS down to plain HTTP.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "net/http_client.h"
#include "net/platform.h"
#include "net/request_limits.h"

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

using Clock = std::chrono::steady_clock;

// WinInet's time-outs are whole milliseconds, and 0 would mean none at all.
DWORD milliseconds_until(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return DWORD(std::max<long long>(left.count(), 1));
}

// A failed socket wait that ran into the deadline is a time-out, however WinInet names it
// (Wine's passes on WSAETIMEDOUT, or calls it an aborted connection while sending).
void tell_time_out_as_such(Clock::time_point deadline) {
  constexpr auto timer_slack = std::chrono::milliseconds(100);
  const DWORD code = GetLastError();
  SetLastError(Clock::now() + timer_slack >= deadline ? DWORD(internet_error::timeout) : code);
}

void set_timeout(HINTERNET handle, DWORD option, DWORD milliseconds) {
  InternetSetOptionA(handle, option, &milliseconds, sizeof milliseconds);
}

// Bounds the waits of a connection or a request handle: the connect by its limit, everything
// by the deadline. Set on both, as WinInet versions differ in which one they read (Wine's
// reads neither for the connect, which then waits as long as the system lets it).
void bound_waits(HINTERNET handle, Clock::time_point deadline) {
  const DWORD left = milliseconds_until(deadline);
  const auto connect = DWORD(std::min<long long>(request_limits().connect.count(), left));
  set_timeout(handle, INTERNET_OPTION_CONNECT_TIMEOUT, connect);
  set_timeout(handle, INTERNET_OPTION_SEND_TIMEOUT, left);
  set_timeout(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, left);
}

// The value of a response header by its WinInet query level, or nothing.
std::optional<std::string> query_header(HINTERNET request, DWORD level) {
  std::string value(64, '\0');
  for (;;) {
    DWORD length = DWORD(value.size());
    DWORD index = 0;
    if (HttpQueryInfoA(request, level, value.data(), &length, &index)) {
      value.resize(length);
      return value;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    value.resize(length + 1);
  }
}

// Where a redirect answer sends the request next, or nothing when it is no redirect.
std::optional<std::string> redirect_location(HINTERNET request) {
  DWORD status = 0;
  DWORD length = sizeof status;
  if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length,
                      nullptr)) {
    return std::nullopt;
  }
  constexpr DWORD redirects[] = {301, 302, 303, 307, 308};
  if (std::find(std::begin(redirects), std::end(redirects), status) == std::end(redirects)) {
    return std::nullopt;
  }
  return query_header(request, HTTP_QUERY_LOCATION);
}

// Moves `target` and `path` to a Location: an absolute http(s) URL, a path on the same
// server, or a path relative to the current one. False for anything else, and for a step
// down from HTTPS.
bool follow_location(const std::string& location, bool useHttps, RequestTarget& target,
                     std::string& path) {
  if (auto url = parse_web_url(location)) {
    RequestTarget next = resolve_request_target(url->server, useHttps);
    if (target.secure && !next.secure) return false;
    target = std::move(next);
    path = url->path;
  } else if (location.rfind("//", 0) == 0 || location.find("://") != std::string::npos) {
    return false;
  } else if (location.rfind('/', 0) == 0) {
    path = location.substr(1);
  } else {
    size_t folder_end = path.rfind('/');
    path = (folder_end == std::string::npos ? std::string() : path.substr(0, folder_end + 1)) +
           location;
  }
  return true;
}

// One GET, its redirects not followed, its socket waits ending at `deadline`.
struct SentRequest {
  InternetHandle connection;
  InternetHandle request;  // declared last, so closed before its connection
  const char* failed_step = nullptr;
};

SentRequest send_get(HINTERNET root, const RequestTarget& target, const std::string& path,
                     Clock::time_point deadline) {
  SentRequest sent;
  sent.connection.reset(InternetConnectA(root, target.host.c_str(), target.port, nullptr, nullptr,
                                         INTERNET_SERVICE_HTTP, 0, 0));
  if (!sent.connection) {
    sent.failed_step = "InternetConnect";
    return sent;
  }
  bound_waits(sent.connection.get(), deadline);
  DWORD flags =
      request_flags | INTERNET_FLAG_NO_AUTO_REDIRECT | (target.secure ? INTERNET_FLAG_SECURE : 0);
  std::string object = "/" + path;
  sent.request.reset(HttpOpenRequestA(sent.connection.get(), "GET", object.c_str(), nullptr,
                                      nullptr, nullptr, flags, 0));
  if (!sent.request) {
    sent.failed_step = "HttpOpenRequest";
    return sent;
  }
  bound_waits(sent.request.get(), deadline);
  if (!HttpSendRequestA(sent.request.get(), nullptr, 0, nullptr, 0)) {
    sent.failed_step = "HttpSendRequest";
  }
  return sent;
}

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
  SentRequest sent;
  Clock::time_point deadline;  // of the whole request, the body's last byte included
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
  const RequestLimits& limits = request_limits();
  const Clock::time_point deadline = Clock::now() + limits.whole_request;
  RequestTarget target = resolve_request_target(server, useHttps);
  RequestTarget hop_target = target;
  std::string hop_path(path);
  HINTERNET root = session ? session.impl().root.get() : nullptr;
  for (int followed = 0;; ++followed) {
    SentRequest sent = send_get(root, hop_target, hop_path, deadline);
    if (sent.failed_step) {
      tell_time_out_as_such(deadline);
    } else {
      auto location = redirect_location(sent.request.get());
      if (!location) {
        auto impl = make_handle_impl<HttpRequest>(std::move(sent), deadline);
        return HttpRequest(std::move(impl), std::move(target), std::string(path));
      }
      if (followed < limits.redirects &&
          follow_location(*location, useHttps, hop_target, hop_path)) {
        continue;
      }
      SetLastError(internet_error::redirect_failed);
      sent.failed_step = "HttpSendRequest";
    }
    int code = last_internet_error();
    bool connecting = sent.failed_step == std::string_view("InternetConnect");
    // The URL the program asked for, wherever redirects led.
    report_internet_failure(owner, sent.failed_step, code,
                            connecting ? request_url(target) : request_url(target, path));
    return HttpRequest();
  }
}

std::optional<std::string> query_response_header(const HttpRequest& request,
                                                 ResponseHeader header) {
  auto level = query_info_level(header);
  if (!request || !level) return std::nullopt;
  return query_header(request.impl().sent.request.get(), *level);
}

BlockRead read_body_block(HttpRequest& request, char* buffer, size_t capacity) {
  const HttpRequest::Impl& impl = request.impl();
  HINTERNET handle = impl.sent.request.get();
  if (Clock::now() >= impl.deadline) {
    SetLastError(internet_error::timeout);
    return {0, "InternetReadFile"};
  }
  set_timeout(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, milliseconds_until(impl.deadline));
  DWORD available = 0;
  if (!InternetQueryDataAvailable(handle, &available, 0, 0)) {
    tell_time_out_as_such(impl.deadline);
    return {0, "InternetQueryDataAvailable"};
  }
  DWORD wanted = std::min(available, DWORD(capacity));
  DWORD received = 0;
  if (!InternetReadFile(handle, buffer, wanted, &received)) {
    tell_time_out_as_such(impl.deadline);
    return {0, "InternetReadFile"};
  }
  return {received, nullptr};
}

}  // namespace tarvenix
