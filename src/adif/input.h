// Where the ADIF reader's bytes come from: a file opened in binary mode, or memory (tests
// and fuzzing). The reader pulls large blocks; these classes only move bytes.
#pragma once

#include <string>
#include <string_view>

#include "records/owned_file.h"

namespace tarvenix {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to `n` bytes into `dst`; 0 at the end or on a failure (then error() is non-empty).
  virtual size_t read(char* dst, size_t n) = 0;
  virtual std::string error() const { return {}; }
};

class FileSource final : public ByteSource {
 public:
  // Opens `path` for binary reading; on failure returns false and error() says why.
  bool open(const std::string& path);
  size_t read(char* dst, size_t n) override;
  std::string error() const override { return error_; }

 private:
  OwnedFile file_;
  std::string error_;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : rest_(bytes) {}
  size_t read(char* dst, size_t n) override;

 private:
  std::string_view rest_;
};

}  // namespace tarvenix
