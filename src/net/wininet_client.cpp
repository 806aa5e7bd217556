// The HTTP backend on Windows, over WinInet.
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

#include "net/backend.h"
#include "net/internet_error.h"
#include "records/paths.h"

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
int failure_code(Clock::time_point deadline) {
  constexpr auto timer_slack = std::chrono::milliseconds(100);
  const DWORD code = GetLastError();
  return Clock::now() + timer_slack >= deadline ? internet_error::timeout : int(code);
}

void set_timeout(HINTERNET handle, DWORD option, DWORD milliseconds) {
  InternetSetOptionA(handle, option, &milliseconds, sizeof milliseconds);
}

// Bounds the waits of a connection or a request handle: the connect by its limit, everything
// by the deadline. Set on both, as WinInet versions differ in which one they read (Wine's
// reads neither for the connect, which then waits as long as the system lets it).
void bound_waits(HINTERNET handle, const FetchLimits& limits, Clock::time_point deadline) {
  const DWORD left = milliseconds_until(deadline);
  const auto connect = DWORD(std::min<long long>(limits.connect.count(), left));
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
    path = folder_of(path, "/") + location;
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
                     const FetchLimits& limits, Clock::time_point deadline) {
  SentRequest sent;
  sent.connection.reset(InternetConnectA(root, target.host.c_str(), target.port, nullptr, nullptr,
                                         INTERNET_SERVICE_HTTP, 0, 0));
  if (!sent.connection) {
    sent.failed_step = "InternetConnect";
    return sent;
  }
  bound_waits(sent.connection.get(), limits, deadline);
  DWORD flags =
      request_flags | INTERNET_FLAG_NO_AUTO_REDIRECT | (target.secure ? INTERNET_FLAG_SECURE : 0);
  std::string object = "/" + path;
  sent.request.reset(HttpOpenRequestA(sent.connection.get(), "GET", object.c_str(), nullptr,
                                      nullptr, nullptr, flags, 0));
  if (!sent.request) {
    sent.failed_step = "HttpOpenRequest";
    return sent;
  }
  bound_waits(sent.request.get(), limits, deadline);
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

struct HttpRequest::Impl {
  InternetHandle root;  // the session, closed after the request's handles
  SentRequest sent;
  Clock::time_point deadline;  // of the whole request, the body's last byte included
};

void HttpRequest::ImplDeleter::operator()(Impl* impl) const {
  std::default_delete<Impl>()(impl);
}

HttpRequest send_request(const WebUrl& url, bool useHttps, const FetchLimits& limits,
                         FetchResult& failure) {
  const Clock::time_point deadline = Clock::now() + limits.whole_request;
  const RequestTarget target = resolve_request_target(url.server, useHttps);
  InternetHandle root(InternetOpenA(std::string(user_agent).c_str(), INTERNET_OPEN_TYPE_PRECONFIG,
                                    nullptr, nullptr, 0));
  if (!root) {
    failure.failed_step = session_step;
    failure.error = int(GetLastError());
    return HttpRequest();
  }
  RequestTarget hop_target = target;
  std::string hop_path = url.path;
  for (int followed = 0;; ++followed) {
    SentRequest sent = send_get(root.get(), hop_target, hop_path, limits, deadline);
    int code = 0;
    if (sent.failed_step) {
      code = failure_code(deadline);
    } else {
      auto location = redirect_location(sent.request.get());
      if (!location) {
        return HttpRequest(make_request_impl(std::move(root), std::move(sent), deadline));
      }
      if (followed < limits.redirects &&
          follow_location(*location, useHttps, hop_target, hop_path)) {
        continue;
      }
      code = internet_error::redirect_failed;
      sent.failed_step = "HttpSendRequest";
    }
    failure.failed_step = sent.failed_step;
    failure.error = code;
    // The URL the program asked for, wherever redirects led.
    const bool connecting = failure.failed_step == "InternetConnect";
    failure.failed_url = connecting ? request_url(target) : request_url(target, url.path);
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
  if (Clock::now() >= impl.deadline) return {0, "InternetReadFile", internet_error::timeout};
  set_timeout(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, milliseconds_until(impl.deadline));
  DWORD available = 0;
  if (!InternetQueryDataAvailable(handle, &available, 0, 0)) {
    return {0, "InternetQueryDataAvailable", failure_code(impl.deadline)};
  }
  DWORD wanted = std::min(available, DWORD(capacity));
  DWORD received = 0;
  if (!InternetReadFile(handle, buffer, wanted, &received)) {
    return {0, "InternetReadFile", failure_code(impl.deadline)};
  }
  return {received, nullptr, 0};
}

}  // namespace tarvenix
