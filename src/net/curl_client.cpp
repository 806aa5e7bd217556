// The HTTP backend elsewhere than Windows, over libcurl.
//
// WinInet hands the body out as the caller reads it; libcurl pushes it through a callback
// while it drives the transfer. A multi handle lets the transfer be driven only as far as
// the caller has read: send_request drives it until the first body bytes (or the end) arrive,
// and each block read drives it again only when what arrived so far is used up.
#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "net/backend.h"
#include "net/internet_error.h"
#include "records/text_compare.h"

namespace tarvenix {
namespace {

constexpr int poll_interval_ms = 1000;

struct EasyCleanup {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiCleanup {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ListCleanup {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

bool curl_ready() {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ready;
}

// WinInet's number for a libcurl failure, so that both platforms tell it the same way;
// failures WinInet has no number for keep libcurl's own.
int internet_error_from_curl(CURLcode code) {
  switch (code) {
    case CURLE_FAILED_INIT:
    case CURLE_OUT_OF_MEMORY:
      return internet_error::internal_error;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
      return internet_error::name_not_resolved;
    case CURLE_COULDNT_CONNECT:
      return internet_error::cannot_connect;
    case CURLE_OPERATION_TIMEDOUT:
      return internet_error::timeout;
    case CURLE_TOO_MANY_REDIRECTS:
    case CURLE_UNSUPPORTED_PROTOCOL:  // only redirects can lead to another protocol
      return internet_error::redirect_failed;
    case CURLE_FILESIZE_EXCEEDED:
      return internet_error::file_too_large;
    case CURLE_PARTIAL_FILE:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
      return internet_error::connection_reset;
    case CURLE_SSL_CONNECT_ERROR:
      return internet_error::security_channel_error;
    case CURLE_PEER_FAILED_VERIFICATION:
      return internet_error::invalid_ca;
    default:
      return int(code);
  }
}

bool is_loopback(const std::string& host) {
  return host == "localhost" || host.rfind("127.", 0) == 0;
}

std::string_view trim(std::string_view text) {
  constexpr std::string_view blanks = " \t\r\n";
  size_t begin = text.find_first_not_of(blanks);
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

}  // namespace

struct HttpRequest::Impl {
  std::unique_ptr<CURLM, MultiCleanup> multi;
  std::unique_ptr<CURL, EasyCleanup> easy;
  std::unique_ptr<curl_slist, ListCleanup> headers;
  int64_t body_limit = 0;
  std::string arrived;       // body bytes received and not yet read
  size_t read_position = 0;  // into `arrived`
  int64_t received = 0;      // body bytes received in all
  bool too_large = false;    // the body grew past the limit and was cut off
  bool finished = false;
  CURLcode result = CURLE_OK;
  std::string status_line;  // of the last response (redirects are followed)
  std::vector<std::pair<std::string, std::string>> fields;

  Impl() = default;
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;
  ~Impl() {
    if (multi && easy) curl_multi_remove_handle(multi.get(), easy.get());
  }

  bool has_unread() const { return read_position < arrived.size(); }

  // Lets libcurl move the transfer on, waiting up to a second for the socket.
  void drive() {
    int running = 0;
    if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
      finish(CURLE_FAILED_INIT);
      return;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
      if (message->msg == CURLMSG_DONE) finish(message->data.result);
    }
    if (!finished && !has_unread()) {
      curl_multi_poll(multi.get(), nullptr, 0, poll_interval_ms, nullptr);
    }
  }

  void finish(CURLcode code) {
    finished = true;
    result = too_large ? CURLE_FILESIZE_EXCEEDED : code;
  }

  void take_header_line(std::string_view line) {
    if (line.rfind("HTTP/", 0) == 0) {  // a new response: a redirect's fields are dropped
      status_line = trim(line);
      fields.clear();
      return;
    }
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) return;
    fields.emplace_back(trim(line.substr(0, colon)), trim(line.substr(colon + 1)));
  }

  std::optional<std::string> field(std::string_view name) const {
    for (const auto& [key, value] : fields) {
      if (equal_ignoring_case(key, name)) return value;
    }
    return std::nullopt;
  }

  // "HTTP/1.1 404 Not Found": the code is the second word, the text all after it.
  std::optional<std::string> status_part(bool text) const {
    size_t code_begin = status_line.find(' ');
    if (code_begin == std::string::npos) return std::nullopt;
    size_t code_end = status_line.find(' ', code_begin + 1);
    if (!text) return status_line.substr(code_begin + 1, code_end - code_begin - 1);
    if (code_end == std::string::npos) return std::string();
    return status_line.substr(code_end + 1);
  }
};

namespace {

// A body without a Content-Length can still grow past the limit: it is cut off there.
size_t on_body(char* data, size_t size, size_t count, void* user) {
  auto* impl = static_cast<HttpRequest::Impl*>(user);
  impl->received += int64_t(size * count);
  if (impl->received > impl->body_limit) {
    impl->too_large = true;
    return 0;
  }
  impl->arrived.append(data, size * count);
  return size * count;
}

size_t on_header(char* data, size_t size, size_t count, void* user) {
  static_cast<HttpRequest::Impl*>(user)->take_header_line(std::string_view(data, size * count));
  return size * count;
}

// Everything but the URL's own parts; false when libcurl refuses an option.
bool configure(HttpRequest::Impl& impl, const RequestTarget& target, const std::string& url,
               const FetchLimits& limits) {
  CURL* easy = impl.easy.get();
  bool ok = curl_easy_setopt(easy, CURLOPT_URL, url.c_str()) == CURLE_OK;
  std::string agent(user_agent);
  ok = ok && curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.c_str()) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
  // Redirects never step down from HTTPS to plain HTTP.
  const char* redirect_protocols = target.secure ? "https" : "http,https";
  ok = ok && curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, redirect_protocols) == CURLE_OK;
  ok = ok &&
       curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(limits.connect.count())) == CURLE_OK;
  ok = ok &&
       curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, long(limits.whole_request.count())) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_MAXREDIRS, long(limits.redirects)) == CURLE_OK;
  ok = ok &&
       curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.body_bytes)) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, on_body) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_WRITEDATA, &impl) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, on_header) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_HEADERDATA, &impl) == CURLE_OK;
  // Never a cached copy, from any proxy on the way.
  impl.headers.reset(curl_slist_append(nullptr, "Cache-Control: no-cache"));
  ok = ok && impl.headers &&
       curl_easy_setopt(easy, CURLOPT_HTTPHEADER, impl.headers.get()) == CURLE_OK;
  // Loopback never goes through a proxy, whatever the environment says.
  if (is_loopback(target.host)) {
    ok = ok && curl_easy_setopt(easy, CURLOPT_PROXY, "") == CURLE_OK;
  }
  return ok;
}

}  // namespace

void HttpRequest::ImplDeleter::operator()(Impl* impl) const {
  std::default_delete<Impl>()(impl);
}

HttpRequest send_request(const WebUrl& web_url, bool useHttps, const FetchLimits& limits,
                         FetchResult& failure) {
  const RequestTarget target = resolve_request_target(web_url.server, useHttps);
  const std::string url = request_url(target, web_url.path);
  // libcurl connects while sending, so there is no separate connect step to fail.
  auto fail = [&](std::string_view step, int code) {
    failure.failed_step = step;
    failure.error = code;
    failure.failed_url = failure.failed_step == "HttpSendRequest" ? url : std::string();
    return HttpRequest();
  };
  if (!curl_ready()) return fail(session_step, internet_error::internal_error);

  auto impl = make_request_impl();
  impl->body_limit = limits.body_bytes;
  impl->multi.reset(curl_multi_init());
  impl->easy.reset(curl_easy_init());
  if (!impl->multi || !impl->easy || !configure(*impl, target, url, limits) ||
      curl_multi_add_handle(impl->multi.get(), impl->easy.get()) != CURLM_OK) {
    impl->easy.reset();  // not added, so not to be removed
    return fail("HttpSendRequest", internet_error::internal_error);
  }
  while (!impl->finished && !impl->has_unread()) impl->drive();
  // A response that began counts as sent; a failure later in its body is the reader's. A
  // redirect refused never got to its last response.
  if (impl->finished && impl->result != CURLE_OK &&
      (impl->status_line.empty() ||
       internet_error_from_curl(impl->result) == internet_error::redirect_failed)) {
    return fail("HttpSendRequest", internet_error_from_curl(impl->result));
  }
  return HttpRequest(std::move(impl));
}

std::optional<std::string> query_response_header(const HttpRequest& request,
                                                 ResponseHeader header) {
  if (!request) return std::nullopt;
  const HttpRequest::Impl& impl = request.impl();
  switch (header) {
    case ResponseHeader::last_modified:
      return impl.field("Last-Modified");
    case ResponseHeader::status_code:
      return impl.status_part(false);
    case ResponseHeader::status_text:
      return impl.status_part(true);
    case ResponseHeader::content_length:
      return impl.field("Content-Length");
  }
  return std::nullopt;
}

BlockRead read_body_block(HttpRequest& request, char* buffer, size_t capacity) {
  HttpRequest::Impl& impl = request.impl();
  if (!impl.has_unread()) {
    impl.arrived.clear();
    impl.read_position = 0;
    while (!impl.finished && !impl.has_unread()) impl.drive();
  }
  if (!impl.has_unread()) {
    if (impl.result == CURLE_OK) return {};
    return {0, "InternetReadFile", internet_error_from_curl(impl.result)};
  }
  size_t size = std::min(capacity, impl.arrived.size() - impl.read_position);
  std::memcpy(buffer, impl.arrived.data() + impl.read_position, size);
  impl.read_position += size;
  return {size, nullptr, 0};
}

}  // namespace tarvenix
