// The error texts of the network layer.
#include "net/internet_error.h"

#include "net/fetch.h"
#include "records/format_text.h"

namespace tarvenix {
namespace {

// The second line of the text for codes that have one; nullptr for "no text at all".
struct CodeText {
  int code;
  const char* detail;
};
constexpr CodeText code_texts[] = {
    {internet_error::invalid_handle, "ERROR_INVALID_HANDLE"},
    {internet_error::timeout, "The request has timed out."},
    {internet_error::name_not_resolved, "The server name could not be resolved."},
    {internet_error::cannot_connect, "The attempt to connect to the server failed."},
    {internet_error::connection_reset, "The connection with the server has been reset."},
    {internet_error::cert_revocation_failed, "Revocation of the SSL certificate failed."},
    {internet_error::security_channel_error, "Internal error loading the SSL libraries."},
    {internet_error::redirect_failed,
     "The server redirected the request too often or to an "
     "insecure address."},
};

bool has_no_text(int code) {
  return code == internet_error::file_not_found || code == internet_error::insufficient_buffer;
}

std::string failure_line(std::string_view step, int code) {
  std::string text(step);
  text += " failed, error = ";
  text += std::to_string(code);
  if (code == internet_error::file_too_large) {
    text += "\nThe server sent more than the " + mebibytes_text(download_size_limit) +
            " a download may hold.";
  }
  for (const CodeText& entry : code_texts) {
    if (entry.code == code) {
      text += '\n';
      text += entry.detail;
    }
  }
  return text;
}

}  // namespace

std::string internet_error_text(std::string_view step, int code, std::string_view url) {
  std::string text = has_no_text(code) ? std::string() : failure_line(step, code);
  if (!url.empty()) {
    text += '\n';
    text += url;
  }
  return text;
}

}  // namespace tarvenix
