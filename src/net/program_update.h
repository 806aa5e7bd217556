// The program's self-update, its portable half: asking the author's server whether its
// program file is newer than the running one, downloading it beside the program, and the
// texts and command-line rules the old and the new process share.
//
// The old process downloads the new program to a temporary file "dxt*.tmp" in the
// program's folder and starts it with its own command line followed by the restart marker
// "<handle>" and the temporary file's path. The new process reads that marker, waits for
// the old process to end, and moves itself over the old program file (ui/win32).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "net/fetch.h"
#include "net/web_endpoints.h"

namespace tarvenix {

// What the newer-version check found.
struct UpdateCheck {
  bool newer = false;           // the server's program file is newer than the running one
  bool network_failed = false;  // the request failed; already told under "Internet error"
  std::string error_text;       // for the operator when the server's answer was not usable
};

// Compares the Last-Modified time of the program file on the author's server with the
// modification time of `program_path` (the running program). Only a 200 answer with a full
// HTTP date is compared; any other status gives its "HTTP Error" text, and an unreadable
// date a text of its own.
UpdateCheck newer_version_available(const Network& network, const std::string& program_path,
                                    const WebEndpoints& endpoints);

// Whether an image carries the author's signature: the program hands in the system's check
// with the key built into it (update_signature.h), tests a fake.
using SignatureCheck =
    std::function<bool(std::span<const uint8_t> image, std::span<const uint8_t> signature)>;

// What download_update brought.
struct DownloadedUpdate {
  std::optional<std::string> file;  // the new program, checked; nothing when refused or failed
  bool not_signed = false;          // refused: no signature beside it, or one that does not verify
};

// Downloads the program file's signature ("PATH.sig"), then the program file itself from the
// author's server into a new temporary file "dxt*.tmp" in `program_dir`. Kept only when both
// answers were 200 and arrived whole, `verifies` accepts the image with the signature, and it
// is a Windows executable image; otherwise nothing is left behind.
DownloadedUpdate download_update(const Network& network, const std::string& program_dir,
                                 const WebEndpoints& endpoints, const SignatureCheck& verifies);

// True when the file begins with an "MZ" header whose e_lfanew points at a "PE\0\0"
// signature followed by a whole file header.
bool is_windows_executable(const std::string& path);

// A new, empty, uniquely named file "<prefix><hex>.tmp" in `directory` (which ends with its
// separator, or is empty for the current folder); its path, or nothing when none could be
// made.
std::optional<std::string> create_temporary_file(const std::string& directory,
                                                 std::string_view prefix);

// The restart command line: the old process's command line, "<", the handle value as
// hexadecimal digits, ">", then the downloaded file's path.
std::string restart_command_line(std::string_view own_command_line, uint64_t process_handle,
                                 std::string_view update_file);

// What a restart command line carries.
struct RestartMarker {
  std::string old_command_line;  // everything before the "<"
  uint64_t process_handle = 0;   // never 0
};

// The marker of a command line: the first "<", hexadecimal digits that are not all zero,
// then ">". Nothing for an ordinary start.
std::optional<RestartMarker> parse_restart_marker(std::string_view command_line);

// The program named by a command line: its first item by Windows quoting rules (up to the
// closing quote when it begins with one, otherwise up to the first blank), taken relative
// to `folder` (which ends with its separator) when it is not an absolute path.
std::string old_program_path(std::string_view old_command_line, std::string_view folder);

// The texts of a failed move of the new program over the old one, by Windows error code.
std::string update_move_failure_text(int code, std::string_view own_path,
                                     std::string_view old_path);

// Texts of the Update command.
inline constexpr const char* update_available_question =
    "A new version of the program is available!\nDo you want to install it?";
inline constexpr const char* update_download_failed_text = "The download failed!";
inline constexpr const char* update_not_signed_text =
    "The downloaded update is not signed by the author and was not installed.";
inline constexpr const char* update_restart_text =
    "The program will now exit and run the new version.";
inline constexpr const char* update_latest_text =
    "You already have the latest version of the program.";
inline constexpr const char* update_start_failed_text =
    "The new version of the program could not be started.";

}  // namespace tarvenix
