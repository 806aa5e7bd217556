// The restart command line and its marker, the old program's path, and the texts of a
// failed move.
#include "ui/program_restart.h"

#include <array>
#include <cstdio>

namespace tarvenix {
namespace {

bool is_hex_digit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool is_absolute_windows_path(std::string_view path) {
  const bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  const bool network = path.size() >= 2 && (path[0] == '\\' || path[0] == '/') &&
                       (path[1] == '\\' || path[1] == '/');
  return drive || network;
}

}  // namespace

std::string restart_command_line(std::string_view own_command_line, uint64_t process_handle,
                                 std::string_view update_file) {
  // As "%p" writes a 64-bit handle: sixteen upper-case hexadecimal digits.
  std::array<char, 17> digits{};
  std::snprintf(digits.data(), digits.size(), "%016llX",
                static_cast<unsigned long long>(process_handle));
  std::string line(own_command_line);
  line += '<';
  line += digits.data();
  line += '>';
  line += update_file;
  return line;
}

std::optional<RestartMarker> parse_restart_marker(std::string_view command_line) {
  const size_t open = command_line.find('<');
  if (open == std::string_view::npos) return std::nullopt;
  size_t at = open + 1;
  uint64_t value = 0;
  size_t digits = 0;
  for (; at < command_line.size() && is_hex_digit(command_line[at]); ++at, ++digits) {
    if (digits == 16) return std::nullopt;  // wider than any handle
    const char c = command_line[at];
    const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
    value = value * 16 + uint64_t(digit);
  }
  if (value == 0 || at >= command_line.size() || command_line[at] != '>') return std::nullopt;
  return RestartMarker{std::string(command_line.substr(0, open)), value};
}

std::string old_program_path(std::string_view old_command_line, std::string_view folder) {
  std::string_view item;
  if (!old_command_line.empty() && old_command_line[0] == '"') {
    const size_t close = old_command_line.find('"', 1);
    item = old_command_line.substr(1, close == std::string_view::npos ? close : close - 1);
  } else {
    item = old_command_line.substr(0, old_command_line.find_first_of(" \t"));
  }
  if (item.empty() || is_absolute_windows_path(item)) return std::string(item);
  // "\dir\file" is rooted on the folder's drive.
  if (item[0] == '\\' || item[0] == '/') {
    const bool has_drive = folder.size() >= 2 && folder[1] == ':';
    return std::string(has_drive ? folder.substr(0, 2) : std::string_view()) + std::string(item);
  }
  return std::string(folder) + std::string(item);
}

std::string update_move_failure_text(int code, std::string_view own_path,
                                     std::string_view old_path) {
  constexpr int access_denied = 5;     // ERROR_ACCESS_DENIED
  constexpr int not_same_device = 17;  // ERROR_NOT_SAME_DEVICE
  constexpr int invalid_name = 123;    // ERROR_INVALID_NAME
  const std::string own(own_path);
  const std::string old(old_path);
  switch (code) {
    case access_denied:
      return "Access denied: " + old;
    case not_same_device:
      return "Not same device: " + old;
    case invalid_name:
      return "Invalid name: [" + own + "] [" + old + "]";
    default:
      return "Unable to move " + own + " to " + old + ", error code = " + std::to_string(code);
  }
}

}  // namespace tarvenix
