// The program's HTTP client: plain GET requests for one file at a time, over HTTPS or HTTP.
//
// The caller opens a root session, sends one GET with open_url, then copies the body
// (download_to_file, or read_response_body for its own sink) and/or reads response headers,
// and lets both handles go. Every failure is reported inside these operations (see
// internet_error.h); callers only look at the result. The HTTP status is not judged here:
// a 404 page is a successful request.
//
// Every request keeps the limits of request_limits.h: a connect or a whole request that takes
// too long fails with 12002, a redirect past the last one allowed with 12156, a body larger
// than allowed with 223.
//
// Built on WinInet on Windows and on libcurl elsewhere; this header names neither.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "net/internet_error.h"
#include "net/web_endpoints.h"

namespace tarvenix {

inline constexpr std::string_view user_agent = "WinInetGet/0.1";
inline constexpr size_t download_block_size = 4096;

// The root handle: carries the user agent and the proxy choice. Move-only.
class InternetSession {
 public:
  struct Impl;  // the backend's state
  struct ImplDeleter {
    void operator()(Impl* impl) const;  // defined by the backend, where Impl is complete
  };
  using ImplPtr = std::unique_ptr<Impl, ImplDeleter>;

  InternetSession() = default;
  explicit InternetSession(ImplPtr impl) : impl_(std::move(impl)) {}
  explicit operator bool() const { return impl_ != nullptr; }
  Impl& impl() const { return *impl_; }

 private:
  ImplPtr impl_;
};

// One sent GET request and its response. Move-only; closing it ends the transfer.
class HttpRequest {
 public:
  struct Impl;  // the backend's state
  struct ImplDeleter {
    void operator()(Impl* impl) const;  // defined by the backend, where Impl is complete
  };
  using ImplPtr = std::unique_ptr<Impl, ImplDeleter>;

  HttpRequest() = default;
  HttpRequest(ImplPtr impl, RequestTarget target, std::string path)
      : impl_(std::move(impl)), target_(std::move(target)), path_(std::move(path)) {}
  explicit operator bool() const { return impl_ != nullptr; }
  Impl& impl() const { return *impl_; }
  const RequestTarget& target() const { return target_; }
  const std::string& path() const { return path_; }  // without the leading slash

 private:
  ImplPtr impl_;
  RequestTarget target_;
  std::string path_;
};

// A backend's state for a handle; instantiated only where Impl is complete.
template <class Handle, class... Args>
typename Handle::ImplPtr make_handle_impl(Args&&... args) {
  using Impl = typename Handle::Impl;
  return typename Handle::ImplPtr(std::make_unique<Impl>(std::forward<Args>(args)...).release());
}

// A root session with the user agent "WinInetGet/0.1". With a non-empty proxy name every
// request goes through that proxy; otherwise the system's settings apply. An empty
// session on failure (not reported here: the caller reports it under its own step name).
InternetSession open_internet(std::string_view proxy = {});

// Sends one GET of `path` (no leading slash) to `server`, bypassing every cache and showing
// no dialog of its own, following redirects. Failures are reported under "InternetConnect",
// "HttpOpenRequest" or "HttpSendRequest" with the URL; the result is then empty.
HttpRequest open_url(OwnerWindow owner, const InternetSession& session, const WebServer& server,
                     std::string_view path, bool useHttps);

enum class ResponseHeader { last_modified, status_code, status_text, content_length };

// The value of a response header, or nothing when the response has none.
std::optional<std::string> query_response_header(const HttpRequest& request, ResponseHeader header);
// The HTTP status code of the response; 0 when there is none.
int response_status(const HttpRequest& request);

// Receives the body one block at a time; returns false to stop the copy (having told the
// operator why).
using BlockWriter = std::function<bool(const char* data, size_t size)>;

// Copies the body to `write` in blocks of at most 4096 bytes. A failed read, a body that
// ends before its announced length, or one past the size limit (announced or received; no
// block beyond the limit is handed over) is reported under "InternetQueryDataAvailable" or
// "InternetReadFile" with the URL "http://%s/%s" (authority, path; http whatever the
// scheme). True when the whole body was handed over.
bool read_response_body(OwnerWindow owner, HttpRequest& request, const BlockWriter& write);

// Copies the body into `local_file` (created, or emptied when it exists). 0 on success, 1 on
// failure; whatever was written before a failure stays in the file. A file that cannot be
// opened or written is told under the captions "CreateFile" and "WriteFile".
int download_to_file(OwnerWindow owner, HttpRequest& request, const std::string& local_file);

// What became of fetch_file.
enum class FetchOutcome {
  replaced,      // the checked body is in the target
  failed,        // no answer, or the body did not arrive whole (shown to the operator)
  not_ok,        // the server answered, but not 200
  refused,       // the body arrived but the check refused it
  not_replaced,  // the target could not be replaced
};
struct FileFetch {
  FetchOutcome outcome = FetchOutcome::failed;
  int status = 0;  // the HTTP status, 0 without an answer
};
// Looks at a downloaded file before it may replace the target.
using FileCheck = std::function<bool(const std::string& downloaded)>;

// Gets `path` from `server` in a session of its own. Only a 200 answer is downloaded, into
// "TARGET.tmpNNN"; once whole and accepted by `check` it is renamed over `target`. On any
// failure `target` is as it was and the download is gone. Network and file failures are shown
// as above (a session that cannot be opened under "HttpSendRequestInternetOpen", unowned).
FileFetch fetch_file(OwnerWindow owner, const WebServer& server, std::string_view path,
                     bool useHttps, const std::string& target, const FileCheck& check);

}  // namespace tarvenix
