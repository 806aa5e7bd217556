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

// A file opened for writing in binary mode; closed by the destructor or by finish().
class FileSink final : public Sink {
 public:
  bool open(const std::string& path);
  bool write(const char* data, size_t size) override;
  // Flushes, makes the data durable on the disc and closes; false when any of it failed.
  bool finish();
  bool is_open() const { return file_ != nullptr; }
  const std::string& error() const { return error_; }

 private:
  OwnedFile file_;
  std::string error_;
};

}  // namespace tarvenix
