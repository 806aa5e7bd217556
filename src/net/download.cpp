// Copying a response body, block by block, to a sink or a local file; reading the status;
// fetching a file whole in place of an older one.
#include <array>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "net/http_client.h"
#include "net/platform.h"
#include "net/request_limits.h"
#include "records/atomic_file.h"
#include "records/owned_file.h"

namespace tarvenix {
namespace {

constexpr int http_ok = 200;

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
std::string read_failure_url(const HttpRequest& request) {
  std::string url = "http://";
  url += request_authority(request.target());
  url += '/';
  url += request.path();
  return url;
}

}  // namespace

int response_status(const HttpRequest& request) {
  return int(header_number(request, ResponseHeader::status_code).value_or(0));
}

bool read_response_body(OwnerWindow owner, HttpRequest& request, const BlockWriter& write) {
  auto fail = [&](const char* step, int code) {
    set_last_internet_error(code);
    report_internet_failure(owner, step, code, read_failure_url(request));
    return false;
  };
  const int64_t limit = request_limits().body_bytes;
  auto announced = header_number(request, ResponseHeader::content_length);
  if (announced && *announced > limit)
    return fail("InternetReadFile", internet_error::file_too_large);

  std::array<char, download_block_size> block;
  int64_t total = 0;
  for (;;) {
    BlockRead read = read_body_block(request, block.data(), block.size());
    if (read.failed_step) return fail(read.failed_step, last_internet_error());
    if (read.size == 0) break;
    total += int64_t(read.size);
    if (total > limit) return fail("InternetReadFile", internet_error::file_too_large);
    if (!write(block.data(), read.size)) return false;
  }
  // A connection that closes early can look like the end of the body; the announced
  // length tells the difference.
  if (announced && *announced != total) {
    return fail("InternetReadFile", internet_error::connection_reset);
  }
  return true;
}

int download_to_file(OwnerWindow owner, HttpRequest& request, const std::string& local_file) {
  OwnedFile file = open_file(local_file, "wb");
  if (!file) {
    present_error(owner, "CreateFile",
                  "ERROR: Unable to open file \"" + local_file + "\" for write.");
    return 1;
  }
  auto tell_write_failure = [&] {
    present_error(owner, "WriteFile", "ERROR: Unable to write to file \"" + local_file + "\"");
  };
  auto write_block = [&](const char* data, size_t size) {
    if (std::fwrite(data, 1, size, file.get()) == size) return true;
    tell_write_failure();
    return false;
  };
  if (!read_response_body(owner, request, write_block)) return 1;
  // Buffered bytes reach the disk here, so a full disk may only show now.
  if (std::fclose(file.release()) != 0) {
    tell_write_failure();
    return 1;
  }
  return 0;
}

FileFetch fetch_file(OwnerWindow owner, const WebServer& server, std::string_view path,
                     bool useHttps, const std::string& target, const FileCheck& check) {
  FileFetch fetch;
  InternetSession session = open_internet();
  if (!session) {
    report_internet_error("HttpSendRequestInternetOpen", {});
    return fetch;
  }
  HttpRequest request = open_url(owner, session, server, path, useHttps);
  if (!request) return fetch;
  fetch.status = response_status(request);
  if (fetch.status != http_ok) {
    fetch.outcome = FetchOutcome::not_ok;
    return fetch;
  }
  // A name of its own: other runs may be fetching into the same folder.
  const std::filesystem::path download(temporary_path_beside(target));
  std::error_code error;
  if (download_to_file(owner, request, download.string()) != 0) {
    fetch.outcome = FetchOutcome::failed;
  } else if (!check(download.string())) {
    fetch.outcome = FetchOutcome::refused;
  } else {
    std::filesystem::rename(download, std::filesystem::path(target), error);
    fetch.outcome = error ? FetchOutcome::not_replaced : FetchOutcome::replaced;
  }
  std::filesystem::remove(download, error);
  return fetch;
}

}  // namespace tarvenix
