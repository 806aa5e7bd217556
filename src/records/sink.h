// Where written bytes go: a sink with one write operation, so a writer does not care whether
// it fills a file or a string (tests capture archives and pages in memory).
#pragma once

#include <cstddef>
#include <string>

#include "records/owned_file.h"

namespace tarvenix {

class Sink {
 public:
  virtual ~Sink() = default;
  // False when the bytes could not be written; the sink then keeps an error text.
  virtual bool write(const char* data, size_t size) = 0;
};

class StringSink final : public Sink {
 public:
  bool write(const char* data, size_t size) override;
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// A file opened for writing, in binary mode or in text mode (line ends as the platform
// writes them); closed by the destructor or by finish(). Writes go out in large blocks.
class FileSink final : public Sink {
 public:
  enum class Mode { binary, text };

  bool open(const std::string& path, Mode mode = Mode::binary);
  bool write(const char* data, size_t size) override;
  // Hands the buffered bytes to the system and makes them durable on the disc.
  bool sync();
  // sync(), then closes; false when any of it failed.
  bool finish();
  bool is_open() const { return file_ != nullptr; }
  const std::string& error() const { return error_; }

 private:
  bool fail(bool failed);

  OwnedFile file_;
  std::string error_;
  bool unsynced_ = false;  // written since the last sync
};

// For tests of a full disc: every write of a FileSink from the `count`-th on (counting from
// now) fails as a full disc would; 0 stops the failures.
void fail_file_writes_after(size_t count);

}  // namespace tarvenix
