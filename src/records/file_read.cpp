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

Result<std::string> read_file_start(const std::string& path, size_t limit) {
  Result<OwnedFile> opened = open_file(path, "rb");
  if (!opened.ok()) return opened.failure();
  const OwnedFile file = std::move(opened).value();
  std::string bytes;
  size_t have = 0;
  bytes.resize(std::min(expected_size(path, limit), limit));
  for (;;) {
    if (have == bytes.size()) {
      if (have == limit) break;
      bytes.resize(std::min(limit, have + std::max(have, first_block)));
    }
    const size_t got = std::fread(bytes.data() + have, 1, bytes.size() - have, file.get());
    have += got;
    if (got == 0) break;
  }
  if (std::ferror(file.get())) return Failure{last_error_text(), errno};
  bytes.resize(have);
  return bytes;
}

Result<std::string> read_file(const std::string& path, size_t limit) {
  // One byte past the limit tells a file of exactly `limit` bytes from a longer one.
  const size_t capacity = limit + 1 > limit ? limit + 1 : limit;
  Result<std::string> file = read_file_start(path, capacity);
  if (file.ok() && file.value().size() > limit) return Failure{"file too large", file_too_large};
  return file;
}

}  // namespace tarvenix
