// Raw deflate streams (no zlib or gzip wrapper), as zip entries hold them, and their CRC-32.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tarvenix::xlsx {

uint32_t crc32_of(std::string_view data);

// Inflates `compressed` into exactly `expected_size` bytes; false when the stream is damaged
// or its size differs from the one expected.
bool inflate_raw(std::string_view compressed, size_t expected_size, std::string& out);

// Saves use the fastest level: a save must be quick, and the files are small anyway.
inline constexpr int fastest_level = 1;

// Deflates a text given piece by piece, so a large part need not exist whole in memory.
class Deflater {
 public:
  explicit Deflater(int level = fastest_level);
  ~Deflater();
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  void write(std::string_view data);
  // Ends the stream; false when zlib failed at any point.
  bool finish();
  const std::string& compressed() const { return compressed_; }
  uint32_t crc() const { return crc_; }
  uint64_t size() const { return size_; }  // of the text before compression

 private:
  bool run(bool last);

  struct Stream;
  std::unique_ptr<Stream> stream_;
  std::string compressed_;
  uint32_t crc_ = 0;
  uint64_t size_ = 0;
  bool failed_ = false;
};

}  // namespace tarvenix::xlsx
