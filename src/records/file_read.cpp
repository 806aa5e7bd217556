// Reading whole files: straight into the result's buffer, grown as the file turns out longer.
#include "records/file_read.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "records/owned_file.h"

namespace tarvenix {

namespace {

constexpr size_t first_block = 1 << 16;

// The size the file claims, as a first guess for the buffer; the read itself decides.
size_t expected_size(const std::string& path, size_t limit) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? first_block : static_cast<size_t>(std::min<uintmax_t>(size, limit) + 1);
}

}  // namespace

FileContents read_file(const std::string& path, size_t limit) {
  FileContents result;
  OwnedFile file = open_file(path, "rb", &result.error, &result.code);
  if (!file) {
    result.not_found = result.code == ENOENT;
    return result;
  }
  // One byte past the limit tells a file of exactly `limit` bytes from a longer one.
  const size_t capacity = limit + 1 > limit ? limit + 1 : limit;
  size_t have = 0;
  result.bytes.resize(std::min(expected_size(path, limit), capacity));
  for (;;) {
    if (have == result.bytes.size()) {
      if (have == capacity) break;
      result.bytes.resize(std::min(capacity, have + std::max(have, first_block)));
    }
    const size_t got =
        std::fread(result.bytes.data() + have, 1, result.bytes.size() - have, file.get());
    have += got;
    if (got == 0) break;
  }
  if (std::ferror(file.get())) {
    result.error = last_error_text();
    result.code = errno;
    result.bytes.clear();
    return result;
  }
  result.too_large = have > limit;
  result.bytes.resize(std::min(have, limit));
  result.ok = true;
  return result;
}

}  // namespace tarvenix
