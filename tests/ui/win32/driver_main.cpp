// The window tests' program. Started as "--record-url <address>" it is the prefix's web
// browser instead: it appends the address to the file named by TARVENIX_URL_LOG, so no
// test ever opens a real web page.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "window_driver.h"

namespace {

int record_url(const char* url) {
  const char* log = std::getenv("TARVENIX_URL_LOG");
  if (log == nullptr) return 1;
  std::FILE* out = std::fopen(log, "ab");
  if (out == nullptr) return 1;
  std::fprintf(out, "%s\n", url);
  std::fclose(out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--record-url") == 0) return record_url(argv[2]);
  tarvenix::testing::prepare_prefix();
  tarvenix::testing::set_runtime_key(true);
  doctest::Context context(argc, argv);
  return context.run();
}
