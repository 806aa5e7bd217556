// Where a written archive goes: a byte sink with one write operation, so the zip writer does
// not care whether it fills a file or a string (tests capture archives in memory).
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>

namespace tarvenix::xlsx {

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

// A file opened for writing (binary); closed by the destructor or by close().
class FileSink final : public Sink {
 public:
  FileSink() = default;
  ~FileSink();
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  bool open(const std::filesystem::path& path);
  bool write(const char* data, size_t size) override;
  // Flushes and closes; false when the data did not reach the file.
  bool close();
  const std::string& error() const { return error_; }

 private:
  std::FILE* file_ = nullptr;
  std::string error_;
};

}  // namespace tarvenix::xlsx
