// The runtime rules: installed, a readable major version, major 14 or more and build 24123
// or more. The minor version is not compared.
#include "ui/runtime_check.h"

#include "records/format_text.h"

namespace tarvenix {

std::optional<std::string> runtime_problem(const RuntimeValues& values) {
  if (values.installed != 1u) return "Microsoft Visual C++ Library is not installed.";
  if (!values.major) return "Could not determine version of Microsoft Visual C++ Library.";
  if (*values.major < 14 || values.build.value_or(0) < 24123)
    return "Microsoft Visual C++ Library needs updating.";
  return std::nullopt;
}

std::string runtime_problem_message(const std::string& problem) {
  return format_text(
      "%s\n\nClick OK, then review the installation instructions when the web page opens.",
      problem.c_str());
}

}  // namespace tarvenix
