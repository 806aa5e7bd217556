// What each HTTP backend (WinInet, libcurl) provides to the portable part of fetch: send one
// GET, read its head, read its body a block at a time. Private to src/net.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "net/fetch.h"

namespace tarvenix {

inline constexpr std::string_view user_agent = "WinInetGet/0.1";

// One sent GET request and its response, with the session it went out in. Move-only;
// letting it go ends the transfer.
class HttpRequest {
 public:
  struct Impl;  // the backend's state
  struct ImplDeleter {
    void operator()(Impl* impl) const;  // defined by the backend, where Impl is complete
  };
  using ImplPtr = std::unique_ptr<Impl, ImplDeleter>;

  HttpRequest() = default;
  explicit HttpRequest(ImplPtr impl) : impl_(std::move(impl)) {}
  explicit operator bool() const { return impl_ != nullptr; }
  Impl& impl() const { return *impl_; }

 private:
  ImplPtr impl_;
};

// A backend's state for a request; instantiated only where Impl is complete.
template <class... Args>
HttpRequest::ImplPtr make_request_impl(Args&&... args) {
  auto impl = std::make_unique<HttpRequest::Impl>(std::forward<Args>(args)...);
  return HttpRequest::ImplPtr(impl.release());
}

// Sends a GET of `url` (https only while `useHttps` is on) within `limits`, in a session of
// its own. On failure the result is empty and `failure` holds the step, the code and the URL
// to name.
HttpRequest send_request(const WebUrl& url, bool useHttps, const FetchLimits& limits,
                         FetchResult& failure);

enum class ResponseHeader { last_modified, status_code, status_text, content_length };
// The value of a response header, or nothing when the response has none.
std::optional<std::string> query_response_header(const HttpRequest& request, ResponseHeader header);

// One read of the body: up to `capacity` bytes into `buffer`, waiting for them when none
// are ready. `size` 0 means the body has ended. On failure `failed_step` names the step and
// `error` holds the code.
struct BlockRead {
  size_t size = 0;
  const char* failed_step = nullptr;
  int error = 0;
};
BlockRead read_body_block(HttpRequest& request, char* buffer, size_t capacity);

}  // namespace tarvenix
