// The portable half of fetch: the status and the dates of the answer, and the body copied
// block by block within the size limit.
#include "net/fetch.h"

#include <array>
#include <charconv>

#include "net/backend.h"
#include "net/internet_error.h"

namespace tarvenix {
namespace {

constexpr size_t block_size = 4096;

std::optional<long long> header_number(const HttpRequest& request, ResponseHeader header) {
  auto text = query_response_header(request, header);
  if (!text) return std::nullopt;
  long long value = 0;
  auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (error != std::errc() || end == text->data()) return std::nullopt;
  return value;
}

// The URL of a failed read names http whatever the scheme, as the operator has always seen
// it; host and port are those really used.
std::string read_failure_url(const RequestTarget& target, std::string_view path) {
  return "http://" + request_authority(target) + "/" + std::string(path);
}

void copy_body(HttpRequest& request, const FetchLimits& limits, Sink& body, FetchResult& result,
               const std::string& failure_url) {
  auto fail = [&](const char* step, int code) {
    result.failed_step = step;
    result.error = code;
    result.failed_url = failure_url;
  };
  auto announced = header_number(request, ResponseHeader::content_length);
  if (announced && *announced > limits.body_bytes) {
    return fail("InternetReadFile", internet_error::file_too_large);
  }
  std::array<char, block_size> block;
  int64_t total = 0;
  for (;;) {
    BlockRead read = read_body_block(request, block.data(), block.size());
    if (read.failed_step) return fail(read.failed_step, read.error);
    if (read.size == 0) break;
    total += int64_t(read.size);
    if (total > limits.body_bytes) return fail("InternetReadFile", internet_error::file_too_large);
    if (!body.write(block.data(), read.size)) return;
  }
  // A connection that closes early can look like the end of the body; the announced
  // length tells the difference.
  if (announced && *announced != total) {
    fail("InternetReadFile", internet_error::connection_reset);
  }
}

}  // namespace

std::string fetch_failure_text(const FetchResult& result) {
  return internet_error_text(result.failed_step, result.error, result.failed_url);
}

void Network::tell_text(std::string_view caption, std::string_view text) const {
  if (!text.empty() && tell) tell(caption, text);
}

void Network::tell_failure(const FetchResult& result) const {
  if (result.failed()) tell_text(internet_error_caption, fetch_failure_text(result));
}

FetchResult fetch(const WebUrl& url, bool useHttps, const FetchLimits& limits, Sink* body) {
  FetchResult result;
  const RequestTarget target = resolve_request_target(url.server, useHttps);
  HttpRequest request = send_request(url, useHttps, limits, result);
  if (!request) return result;
  result.status = int(header_number(request, ResponseHeader::status_code).value_or(0));
  result.status_text = query_response_header(request, ResponseHeader::status_text).value_or("");
  result.last_modified = query_response_header(request, ResponseHeader::last_modified);
  if (body && result.status == http_ok) {
    copy_body(request, limits, *body, result, read_failure_url(target, url.path));
  }
  return result;
}

}  // namespace tarvenix
