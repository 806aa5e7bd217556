// The runtime check's rules on the registry values.
#include <doctest/doctest.h>

#include "ui/runtime_check.h"

using namespace tarvenix;

TEST_CASE("a runtime from major 14 and build 24123 on passes") {
  CHECK_FALSE(runtime_problem({1u, 14, 0, 24123}).has_value());
  CHECK_FALSE(runtime_problem({1u, 14, 40, 33810}).has_value());
}

TEST_CASE("an old runtime needs updating, whatever its minor version") {
  CHECK(runtime_problem({1u, 14, 99, 24122}) == "Microsoft Visual C++ Library needs updating.");
  CHECK(runtime_problem({1u, 13, 0, 99999}) == "Microsoft Visual C++ Library needs updating.");
  CHECK(runtime_problem({1u, 15, 0, 0}) == "Microsoft Visual C++ Library needs updating.");
  CHECK(runtime_problem({1u, 14, 0, std::nullopt}) ==
        "Microsoft Visual C++ Library needs updating.");
}

TEST_CASE("a missing or unreadable runtime key is reported") {
  CHECK(runtime_problem({}) == "Microsoft Visual C++ Library is not installed.");
  CHECK(runtime_problem({0u, 14, 0, 30000}) == "Microsoft Visual C++ Library is not installed.");
  CHECK(runtime_problem({1u, std::nullopt, 0, 30000}) ==
        "Could not determine version of Microsoft Visual C++ Library.");
}

TEST_CASE("the problem is wrapped in the installation note") {
  CHECK(runtime_problem_message("X.") ==
        "X.\n\nClick OK, then review the installation instructions when the web page opens.");
}
