// New temporary files: empty, named after the prefix in the given folder, never one that
// is there already.
#include <doctest/doctest.h>

#include <filesystem>
#include <string>

#include "records/temp_file.h"
#include "support/log_capture.h"

using namespace tarvenix;

TEST_CASE("temporary files are new, empty and named dxt*.tmp in the given folder") {
  const std::filesystem::path folder = testing::temp_file_path("tarvenix-temp");
  const std::string directory = (folder / "dir.with.dot").string() + "/";
  std::filesystem::create_directories(directory);
  const auto first = create_temporary_file(directory, "dxt");
  const auto second = create_temporary_file(directory, "dxt");
  REQUIRE((first && second && *first != *second));
  for (const std::filesystem::path file : {*first, *second}) {
    CHECK(std::filesystem::file_size(std::filesystem::path(directory) / file.filename()) == 0);
    CHECK(file.filename().string().starts_with("dxt"));
    CHECK(file.extension() == ".tmp");
  }
  CHECK_FALSE(create_temporary_file((folder / "missing").string() + "/", "dxt"));
  std::error_code ignored;  // a failed removal is no failure of the test
  std::filesystem::remove_all(folder, ignored);
}
