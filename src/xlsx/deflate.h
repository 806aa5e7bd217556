// Raw deflate streams (no zlib or gzip wrapper), as zip entries hold them, and their CRC-32.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvenix::xlsx {

uint32_t crc32_of(std::string_view data);

// Inflates `compressed` into exactly `expected_size` bytes; false when the stream is damaged
// or its size differs from the one expected.
bool inflate_raw(std::string_view compressed, size_t expected_size, std::string& out);

// Deflates `data`, by default at the fastest level (a save must be quick; the files are small
// anyway); false only when zlib fails.
inline constexpr int kFastestLevel = 1;
bool deflate_raw(std::string_view data, std::string& out, int level = kFastestLevel);

}  // namespace tarvenix::xlsx
