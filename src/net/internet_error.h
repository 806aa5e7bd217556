// The texts of network failures: formed from the failing step and the error code, shown at
// once by the caller (a message box captioned "Internet error" on Windows, standard error
// elsewhere) and never written to the run log.
//
// Codes are WinInet's numbers on every platform; the libcurl backend translates its own
// codes into them where WinInet has a matching one.
#pragma once

#include <string>
#include <string_view>

namespace tarvenix {

namespace internet_error {
inline constexpr int file_not_found = 2;              // ERROR_FILE_NOT_FOUND
inline constexpr int invalid_handle = 6;              // ERROR_INVALID_HANDLE
inline constexpr int insufficient_buffer = 122;       // ERROR_INSUFFICIENT_BUFFER
inline constexpr int file_too_large = 223;            // ERROR_FILE_TOO_LARGE
inline constexpr int timeout = 12002;                 // ERROR_INTERNET_TIMEOUT
inline constexpr int internal_error = 12004;          // ERROR_INTERNET_INTERNAL_ERROR
inline constexpr int name_not_resolved = 12007;       // ERROR_INTERNET_NAME_NOT_RESOLVED
inline constexpr int cannot_connect = 12029;          // ERROR_INTERNET_CANNOT_CONNECT
inline constexpr int connection_reset = 12031;        // ERROR_INTERNET_CONNECTION_RESET
inline constexpr int invalid_ca = 12045;              // ERROR_INTERNET_INVALID_CA
inline constexpr int cert_revocation_failed = 12057;  // ERROR_INTERNET_SEC_CERT_REV_FAILED
inline constexpr int redirect_failed = 12156;         // ERROR_HTTP_REDIRECT_FAILED
inline constexpr int security_channel_error = 12157;  // ERROR_INTERNET_SECURITY_CHANNEL_ERROR
}  // namespace internet_error

inline constexpr std::string_view internet_error_caption = "Internet error";

// The text for `code` after a failed `step`, with a line feed and `url` appended when `url`
// is not empty. Codes 2 and 122 have no text of their own, so without a URL the result is
// empty (and nothing is shown).
std::string internet_error_text(std::string_view step, int code, std::string_view url);

}  // namespace tarvenix
