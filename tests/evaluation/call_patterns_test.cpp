// The call-sign matchers give std::regex's answers (ECMAScript, case ignored) on many short
// calls, and stay quick on a call of a megabyte.
#include <doctest/doctest.h>

// libstdc++'s regex compiler trips GCC 12's -Wmaybe-uninitialized (a false alarm in its
// std::function use); only the tests that compare with std::regex include it.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include <random>
#include <regex>
#include <string>
#include <vector>

#include "evaluation/call_patterns.h"

using namespace tarvenix;

namespace {

// full: regex_match rather than regex_search
// clang-format off
struct Pattern { const char* text; bool full; bool (*matcher)(std::string_view); };
// clang-format on

const Pattern pattern_list[] = {
    {"^4U\\d+VIC$", true, is_vienna_call},
    {"^I[IJOPQRTUWZ]9[A-Z]+$", true, is_sicily_call},
    {"^I[IJOPQRTUWZ]9[A-Z]+\\/[0-8]$", true, is_sicily_portable_call},
    {"^I[GH]9", false, has_african_italy_prefix},
    {"\\/I[GH]9$", false, has_african_italy_suffix},
    {"^T[ABC]1[A-Z]+$", true, is_european_turkey_call},
    {"^YM1[A-Z]+$", true, is_ym1_call},
    {"\\/1$", false, has_call_area_1_suffix},
};

// Calls near the patterns, and bytes that might confuse a matcher.
const std::vector<std::string> seeds = {
    "4U1VIC", "4U70VIC",   "4u1vic",    "4UVIC",     "IT9ABC", "iw9xyz", "IT9ABC/3", "IT9ABC/9",
    "IG9ABC", "IH9/K1ABC", "K1ABC/IG9", "K1ABC/ih9", "TA1ABC", "TC1XY",  "YM1ABC",   "TA2ABC/1",
    "IT9",    "I9ABC",     "TA1",       "YM1",       "/1",     "",
};
const std::string call_alphabet = "4UuVvIiCc0123456789/JOPQRTWZGHghTtABCabYyMm1 -!xX@[`{\xC4\xE4";

size_t pick(std::mt19937& random, size_t n) {
  return std::uniform_int_distribution<size_t>(0, n)(random);
}

// Up to three random inserts, erasures, replacements or appends of alphabet bytes.
std::string mutate(std::string s, std::mt19937& random) {
  for (size_t steps = pick(random, 3); steps-- > 0;) {
    const char ch = call_alphabet[pick(random, call_alphabet.size() - 1)];
    const size_t at = s.empty() ? 0 : pick(random, s.size());
    const size_t op = pick(random, 3);
    if (op == 0) s.insert(s.begin() + static_cast<long>(at), ch);
    if (op == 1 && at < s.size()) s.erase(at, 1);
    if (op == 2 && at < s.size()) s[at] = ch;
    if (op == 3) s += ch;
  }
  return s;
}

}  // namespace

TEST_CASE("the matchers agree with std::regex on thousands of short calls") {
  std::mt19937 random(20240315);
  std::vector<std::string> calls = seeds;
  for (int i = 0; i < 6000; ++i)
    calls.push_back(mutate(seeds[pick(random, seeds.size() - 1)], random));
  for (int i = 0; i < 2000; ++i) {  // and calls of random bytes from the alphabet
    std::string s(pick(random, 8), ' ');
    for (char& ch : s) ch = call_alphabet[pick(random, call_alphabet.size() - 1)];
    calls.push_back(s);
  }
  calls.push_back(std::string("IT9A\0B", 6));
  for (const Pattern& p : pattern_list) {
    const std::regex re(p.text, std::regex::ECMAScript | std::regex::icase);
    int matched = 0;
    for (const std::string& call : calls) {
      const bool expected = p.full ? std::regex_match(call, re) : std::regex_search(call, re);
      matched += expected;
      if (p.matcher(call) != expected) FAIL_CHECK(p.text << " on \"" << call << "\": " << expected);
    }
    CAPTURE(p.text);
    CHECK(matched > 10);  // the inputs reach every pattern's matches
  }
}

TEST_CASE("a call of a megabyte is matched in one pass") {
  const std::string letters(1 << 20, 'A');
  const std::string long_sicily = "IT9" + letters;
  CHECK(is_sicily_call(long_sicily));
  CHECK_FALSE(is_sicily_portable_call(long_sicily));
  CHECK(is_sicily_portable_call(long_sicily + "/3"));
  CHECK(is_european_turkey_call("TA1" + letters));
  CHECK(is_ym1_call("YM1" + letters));
  CHECK(is_vienna_call("4U" + std::string(1 << 20, '7') + "VIC"));
  CHECK(has_african_italy_suffix(letters + "/IG9"));
  CHECK(has_call_area_1_suffix(letters + "/1"));
  CHECK_FALSE(has_african_italy_prefix(letters));
}
