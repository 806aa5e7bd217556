// Whole-file reads: the limit's edges, the first bytes of a longer file, a missing file.
#include <doctest/doctest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "records/file_read.h"
#include "support/log_capture.h"

using namespace tarvenix;

TEST_CASE(
    "a file up to the limit is read whole; one byte more is too large, its start still read") {
  const std::string path = testing::temp_file_path("file-read").string();
  constexpr size_t limit = 8;
  for (size_t size : {size_t{0}, limit - 1, limit, limit + 1, 3 * limit}) {
    CAPTURE(size);
    const std::string bytes(size, 'x');
    std::ofstream(path, std::ios::binary) << bytes;
    const Result<std::string> whole = read_file(path, limit);
    CHECK(whole.ok() == (size <= limit));
    CHECK((whole.ok() ? whole.value() == bytes : whole.code() == file_too_large));
    CHECK(read_file_start(path, limit).value() == bytes.substr(0, limit));
  }
  std::filesystem::remove(path);
  CHECK(read_file(path, limit).code() == ENOENT);
  CHECK_FALSE(read_file_start(path, limit).reason().empty());
}
