// Reading a zip archive held in memory: its central directory, each entry's compressed bytes,
// and inflating an entry under limits that keep a hostile archive from exhausting memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "records/result.h"

namespace tarvenix::xlsx {

struct ZipEntry {
  std::string name;
  uint16_t version_made_by = 0;
  uint16_t version_needed = 0;
  uint16_t flags = 0;
  uint16_t method = 0;  // 0 stored, 8 deflated
  uint16_t mod_time = 0;
  uint16_t mod_date = 0;
  uint32_t crc32 = 0;
  uint32_t compressed_size = 0;
  uint32_t uncompressed_size = 0;
  uint16_t internal_attributes = 0;
  uint32_t external_attributes = 0;
  size_t data_offset = 0;  // where the compressed bytes start in the archive
};

// Limits against zip bombs: all inflated entries together, and the ratio of an entry's
// inflated size to its compressed size once it is past a small size.
inline constexpr size_t max_inflated_total = size_t{256} << 20;
inline constexpr size_t max_archive_size = size_t{256} << 20;
inline constexpr uint32_t max_compression_ratio = 1000;
inline constexpr uint32_t ratio_checked_from = uint32_t{1} << 20;

class ZipReader {
 public:
  // Takes the archive's bytes; fails when they are not a usable archive.
  Result<> open(std::string bytes);

  const std::vector<ZipEntry>& entries() const { return entries_; }
  // The entry of that name (compared without regard to ASCII case, as part names are), or null.
  const ZipEntry* find(std::string_view name) const;
  std::string_view compressed_data(const ZipEntry& entry) const;
  // The entry's content; fails when it is damaged or too large.
  Result<std::string> extract(const ZipEntry& entry);

 private:
  Result<> read_central_directory(size_t offset, size_t count);
  Result<> locate_data(ZipEntry& entry, size_t local_offset) const;

  std::string bytes_;
  std::vector<ZipEntry> entries_;
  std::unordered_map<std::string, size_t> index_;  // lower-case name to entry
  size_t inflated_total_ = 0;
};

}  // namespace tarvenix::xlsx
