// The program's one network call: a plain GET of one URL over HTTPS or HTTP, within limits,
// its body handed to a sink. Built on WinInet on Windows and on libcurl elsewhere; this header
// names neither.
//
// Nothing is shown here: a failure comes back as the step that failed, its code (WinInet's
// numbers on every platform, see internet_error.h) and the URL to name, and the caller tells
// the operator.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "net/web_endpoints.h"
#include "records/sink.h"

namespace tarvenix {

// The only status whose body is read: anything else is an answer without a file.
inline constexpr int http_ok = 200;

// What a download may hold unless a caller asks for less.
inline constexpr int64_t download_size_limit = int64_t{64} << 20;

// The bounds a request keeps, whatever the server does: a server that never answers, sends
// its body a byte at a time, redirects to itself or sends without end cannot keep a run
// waiting or fill the disk. Past them a request fails with 12002 (too slow), 12156 (too many
// redirects) or 223 (too large; nothing beyond the limit reaches the sink).
struct FetchLimits {
  std::chrono::milliseconds connect{30'000};         // to open the connection
  std::chrono::milliseconds whole_request{120'000};  // from sending to the body's last byte
  int redirects = 10;                                // followed, at most
  int64_t body_bytes = download_size_limit;          // announced or received
};

// The failed step when not even a session could be opened; the others are "InternetConnect",
// "HttpOpenRequest" and "HttpSendRequest" (sending), then "InternetQueryDataAvailable" and
// "InternetReadFile" (the body).
inline constexpr std::string_view session_step = "HttpSendRequestInternetOpen";

struct FetchResult {
  int status = 0;  // of the last response (redirects are followed); 0 without one
  std::string status_text;
  std::optional<std::string> last_modified;
  // Where a failed fetch stopped; empty when the answer came (a sink that refused a block
  // stopped the body, but that is the sink's to tell).
  std::string failed_step;
  int error = 0;           // the failure's code
  std::string failed_url;  // the URL its text names (may be empty)

  bool failed() const { return !failed_step.empty(); }
};

// The text for the operator of a failed fetch; empty when there is nothing to show.
std::string fetch_failure_text(const FetchResult& result);

// GETs `url` (https only while `useHttps` is on), bypassing every cache, following redirects
// (never from HTTPS down to HTTP). Only a 200 answer's body is read, into `body` in blocks
// of at most 4096 bytes; with no sink only the head of the answer is wanted. A body that
// ends before its announced length is a failure (12031).
FetchResult fetch(const WebUrl& url, bool useHttps, const FetchLimits& limits, Sink* body);

// Shows a failure to the operator at once: a message box on Windows, standard error on the
// command line.
using FailureTeller = std::function<void(std::string_view caption, std::string_view text)>;

// What a user of the network is given by the program around it: the call (tests hand in a
// fake one with canned answers), its limits, and where failures are told.
struct Network {
  std::function<FetchResult(const WebUrl&, bool useHttps, const FetchLimits&, Sink*)> fetch =
      &tarvenix::fetch;
  FetchLimits limits;
  FailureTeller tell;

  // Tells `text` under `caption`, unless the text is empty or nobody listens.
  void tell_text(std::string_view caption, std::string_view text) const;
  // Tells a failed fetch under "Internet error".
  void tell_failure(const FetchResult& result) const;
};

}  // namespace tarvenix
