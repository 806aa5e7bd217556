// The newer-version check and the download of the new program and its signature.
#include "net/program_update.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "net/file_fetch.h"
#include "net/http_date.h"
#include "net/internet_error.h"
#include "records/byte_order.h"
#include "records/file_read.h"
#include "records/paths.h"
#include "records/temp_file.h"

namespace tarvenix {
namespace {

// Texts for the operator are kept within the 260 bytes the program has always used, and
// header values within 32.
constexpr size_t text_limit = 259;
constexpr size_t header_limit = 31;
constexpr int http_forbidden = 403;

std::string bounded(std::string text, size_t limit) {
  if (text.size() > limit) text.resize(limit);
  return text;
}

// Seconds since 1970 of the file's last change; 0 when it cannot be read, so that any
// version on the server counts as newer.
int64_t modification_time(const std::string& path) {
  std::error_code error;
  const auto changed = std::filesystem::last_write_time(path, error);
  if (error) return 0;
  const auto since_1970 = std::chrono::file_clock::to_sys(changed).time_since_epoch();
  return std::chrono::duration_cast<std::chrono::seconds>(since_1970).count();
}

std::string http_error_text(const FetchResult& answer, const WebEndpoints& endpoints) {
  std::string text = "HTTP Error " + std::to_string(answer.status) + " - " +
                     bounded(answer.status_text, header_limit);
  if (answer.status == http_forbidden) {
    text += "\nYou do not have permission to access " + file_name_of(endpoints.updatePath, "/") +
            " on the remote server!";
  }
  return bounded(std::move(text), text_limit);
}

std::string unreadable_date_text(const std::string& value) {
  return bounded("The date of the program file on the server could not be read: " + value,
                 text_limit);
}

WebUrl program_file_url(const WebEndpoints& endpoints) {
  return WebUrl{endpoints.authorHost, endpoints.updatePath};
}

std::span<const uint8_t> bytes_of(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

enum class SignatureAnswer { found, missing, failed };

// The signature served beside the program file, into `signature`. A 404 (or any answer but
// 200) is a program without one; a failed request has been told.
SignatureAnswer fetch_signature(const Network& network, const WebEndpoints& endpoints,
                                std::string& signature) {
  // A signature is as long as its key (384 bytes for RSA-3072): more is not one.
  constexpr int64_t signature_limit = 4096;
  FetchLimits limits = network.limits;
  limits.body_bytes = std::min(limits.body_bytes, signature_limit);
  WebUrl url = program_file_url(endpoints);
  url.path += ".sig";
  StringSink body;
  const FetchResult result = network.fetch(url, endpoints.useHttps, limits, &body);
  network.tell_failure(result);
  if (result.failed()) return SignatureAnswer::failed;
  if (result.status != http_ok) return SignatureAnswer::missing;
  signature = body.bytes();
  return SignatureAnswer::found;
}

}  // namespace

UpdateCheck newer_version_available(const Network& network, const std::string& program_path,
                                    const WebEndpoints& endpoints) {
  UpdateCheck check;
  const int64_t local_time = modification_time(program_path);
  const FetchResult answer =
      network.fetch(program_file_url(endpoints), endpoints.useHttps, network.limits, nullptr);
  if (answer.failed()) {
    network.tell_failure(answer);
    // A request that went out and failed is told a second time, as the check always has.
    if (answer.failed_step != session_step) {
      network.tell_text(internet_error_caption,
                        internet_error_text("HttpSendRequestInternetConnect", answer.error, ""));
    }
    check.network_failed = true;
    return check;
  }
  // Only the program file itself carries a date worth comparing: an error page has none.
  const auto& last_modified = answer.last_modified;
  if (answer.status != http_ok || !last_modified) {
    check.error_text = http_error_text(answer, endpoints);
    return check;
  }
  if (last_modified->size() > header_limit || !is_full_http_date(*last_modified)) {
    check.error_text = unreadable_date_text(*last_modified);
    return check;
  }
  check.newer = parse_http_date(*last_modified) - local_time > 0;
  return check;
}

DownloadedUpdate download_update(const Network& network, const std::string& program_dir,
                                 const WebEndpoints& endpoints, const SignatureCheck& verifies) {
  DownloadedUpdate update;
  std::string signature;
  const SignatureAnswer answer = fetch_signature(network, endpoints, signature);
  update.not_signed = answer == SignatureAnswer::missing;
  if (answer != SignatureAnswer::found) return update;
  const auto update_file = create_temporary_file(program_dir, "dxt");
  if (!update_file) return update;
  const auto signed_image = [&](const std::string& path) {
    // The fetch kept the download within the same limit.
    const Result<std::string> image = read_file_start(path, size_t(network.limits.body_bytes));
    if (!image.ok()) return false;
    update.not_signed = !verifies(bytes_of(image.value()), bytes_of(signature));
    return !update.not_signed && is_windows_executable(path);
  };
  const FileFetch fetch = fetch_file(network, program_file_url(endpoints), endpoints.useHttps,
                                     *update_file, signed_image);
  if (fetch.outcome == FetchOutcome::replaced) {
    update.file = update_file;
  } else {
    std::remove(update_file->c_str());
  }
  return update;
}

bool is_windows_executable(const std::string& path) {
  constexpr size_t new_header_offset = 0x3C;  // e_lfanew in the MZ header
  constexpr size_t file_header_size = 20;     // IMAGE_FILE_HEADER after "PE\0\0"
  std::ifstream in(path, std::ios::binary);
  std::string head(new_header_offset + 4, '\0');
  if (!in.read(head.data(), std::streamsize(head.size())) || head.compare(0, 2, "MZ") != 0)
    return false;
  const uint32_t pe_offset = get_u32(&head[new_header_offset]);
  std::string signature(4 + file_header_size, '\0');
  if (!in.seekg(std::streamoff(pe_offset)) ||
      !in.read(signature.data(), std::streamsize(signature.size())))
    return false;
  return signature.compare(0, 4, std::string("PE\0\0", 4)) == 0;
}

}  // namespace tarvenix
