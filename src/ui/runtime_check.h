// The check that the Microsoft Visual C++ runtime package the program needs is installed,
// from the values of its registry key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarvenix {

// The registry values; a value that could not be read is empty.
struct RuntimeValues {
  std::optional<uint32_t> installed;
  std::optional<int32_t> major;
  std::optional<int32_t> minor;
  std::optional<int32_t> build;
};

// The problem to report, or nothing when the runtime is recent enough.
std::optional<std::string> runtime_problem(const RuntimeValues& values);

// The message shown for a problem.
std::string runtime_problem_message(const std::string& problem);

inline constexpr const char* runtime_key_64 =
    "SOFTWARE\\WOW6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\X86";
inline constexpr const char* runtime_key_32 =
    "SOFTWARE\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\X86";

}  // namespace tarvenix
