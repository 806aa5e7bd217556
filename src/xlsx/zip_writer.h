// Writing a zip archive into a sink: entries copied as they were (their compressed bytes
// unchanged) or given new content, then the central directory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "records/sink.h"
#include "xlsx/deflate.h"
#include "xlsx/zip_reader.h"

namespace tarvenix::xlsx {

class ZipWriter {
 public:
  explicit ZipWriter(Sink& sink) : sink_(sink) {}

  // Copies an entry of another archive without inflating it.
  bool add_copy(const ZipEntry& entry, std::string_view compressed);
  // Adds `content` deflated (at the given zlib level), under the name and with the attributes
  // of `like`.
  bool add_deflated(const ZipEntry& like, std::string_view content, int level = fastest_level);
  // The same with content already deflated (`deflater` is finished).
  bool add_deflated(const ZipEntry& like, const Deflater& deflater);
  // Writes the central directory; the archive is complete once this returns true.
  bool finish();
  const std::string& error() const { return error_; }

 private:
  bool add(ZipEntry entry, std::string_view compressed);
  bool emit(std::string_view bytes);

  Sink& sink_;
  std::vector<std::pair<ZipEntry, uint32_t>> written_;  // each entry with its header's offset
  uint64_t offset_ = 0;
  std::string error_;
};

}  // namespace tarvenix::xlsx
