// The window tests' program. Started as "--record-url <address>" it is the prefix's web
// browser instead: it appends the address to the file named by TARVENIX_URL_LOG, so no
// test ever opens a real web page.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "window_driver.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--record-url") == 0) {
    const char* log = std::getenv("TARVENIX_URL_LOG");
    std::FILE* out = log ? std::fopen(log, "ab") : nullptr;
    return out && std::fprintf(out, "%s\n", argv[2]) > 0 && std::fclose(out) == 0 ? 0 : 1;
  }
  tarvenix::testing::prepare_prefix();
  tarvenix::testing::set_runtime_key(true);
  doctest::Context context(argc, argv);
  return context.run();
}
