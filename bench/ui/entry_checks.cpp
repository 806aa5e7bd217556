// Times the e-mail and call-sign checks on long texts (a pasted megabyte must not stall the
// window) and prints megabytes per second. Usage: bench_entry_checks
#include <chrono>
#include <cstdio>
#include <string>

#include "ui/entry_checks.h"

using namespace tarvenix;

namespace {

template <class Check>
void time_check(const char* what, const std::string& text, Check check) {
  constexpr int rounds = 20;
  const auto start = std::chrono::steady_clock::now();
  size_t answers = 0;
  for (int i = 0; i < rounds; ++i) answers += check(text) ? 1 : 0;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double megabytes = static_cast<double>(text.size()) * rounds / (1 << 20);
  std::printf("%-36s %8.1f MB/s  (%zu of %d valid)\n", what, megabytes / seconds, answers, rounds);
}

}  // namespace

int main() {
  const std::string letters(1 << 20, 'a');
  std::string dotted;
  while (dotted.size() < (1u << 20)) dotted += "a.";
  time_check("e-mail: 1 MB of letters", letters,
             [](const std::string& t) { return !check_email(t).has_value(); });
  time_check("e-mail: 1 MB address", "x@" + dotted + "org",
             [](const std::string& t) { return !check_email(t).has_value(); });
  time_check("e-mail: 1 MB address, bad ending", "x@" + dotted + "o",
             [](const std::string& t) { return !check_email(t).has_value(); });
  time_check("call sign: 1 MB of letters and digits", std::string(1 << 20, 'W') + "1A",
             [](const std::string& t) { return !check_callsign(t).has_value(); });
  return 0;
}
