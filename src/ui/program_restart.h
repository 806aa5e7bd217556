// The window's restart into a new version, the part both processes share: the old process
// starts the downloaded program with its own command line followed by the restart marker
// "<handle>" and the downloaded file's path; the new process reads that marker, waits for the
// old process to end, and moves itself over the old program file (ui/win32). Also the texts
// of the Update command.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvenix {

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
