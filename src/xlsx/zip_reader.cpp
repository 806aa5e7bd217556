// The zip reader: end record, central directory, local headers and the inflate limits.
#include "xlsx/zip_reader.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "records/byte_order.h"
#include "records/text_compare.h"
#include "xlsx/deflate.h"
#include "xlsx/zip_format.h"

namespace tarvenix::xlsx {

namespace {

constexpr size_t max_comment_size = 0xffff;
constexpr uint16_t flag_encrypted = 0x0001;
constexpr uint16_t flag_strong_encryption = 0x0040;

const char* const damaged_text = "damaged zip archive";

// The end-of-central-directory record lies within the last 64 KiB + 22 bytes.
size_t find_end_record(const std::string& bytes) {
  if (bytes.size() < end_size) return std::string::npos;
  const size_t lowest =
      bytes.size() > end_size + max_comment_size ? bytes.size() - end_size - max_comment_size : 0;
  for (size_t at = bytes.size() - end_size + 1; at-- > lowest;) {
    if (get_u32(&bytes[at]) == end_signature) return at;
  }
  return std::string::npos;
}

}  // namespace

Result<> ZipReader::open(std::string bytes) {
  bytes_ = std::move(bytes);
  entries_.clear();
  index_.clear();
  inflated_total_ = 0;
  if (bytes_.size() > max_archive_size) {
    return Failure{"file too large"};
  }
  const size_t end = find_end_record(bytes_);
  if (end == std::string::npos) {
    return Failure{"not a zip archive"};
  }
  const char* e = &bytes_[end];
  const uint16_t disk = get_u16(e + 4);
  const uint16_t count = get_u16(e + 10);
  const uint32_t size = get_u32(e + 12);
  const uint32_t offset = get_u32(e + 16);
  const bool zip64_locator = end >= zip64_locator_size &&
                             get_u32(&bytes_[end - zip64_locator_size]) == zip64_locator_signature;
  if (zip64_locator || count == 0xffff || size == 0xffffffff || offset == 0xffffffff) {
    return Failure{"zip64 archives are not supported"};
  }
  if (disk != 0 || get_u16(e + 6) != 0 || get_u16(e + 8) != count) {
    return Failure{"multi-part zip archives are not supported"};
  }
  if (offset > end || size > end - offset) {
    return Failure{damaged_text};
  }
  return read_central_directory(offset, count);
}

namespace {

// Entries whose bytes overlap make a small archive stand for a huge one (every entry the
// same megabytes); no writer makes them.
bool spans_overlap(std::vector<std::pair<size_t, size_t>>& spans) {
  std::sort(spans.begin(), spans.end());
  for (size_t i = 1; i < spans.size(); ++i) {
    if (spans[i].first < spans[i - 1].second) return true;
  }
  return false;
}

}  // namespace

Result<> ZipReader::read_central_directory(size_t offset, size_t count) {
  entries_.reserve(count);
  std::vector<std::pair<size_t, size_t>> spans;  // [local header, end of data) of each entry
  spans.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    if (offset > bytes_.size() || bytes_.size() - offset < central_size ||
        get_u32(&bytes_[offset]) != central_signature) {
      return Failure{damaged_text};
    }
    const char* c = &bytes_[offset];
    ZipEntry entry;
    entry.version_made_by = get_u16(c + 4);
    entry.version_needed = get_u16(c + 6);
    entry.flags = get_u16(c + 8);
    entry.method = get_u16(c + 10);
    entry.mod_time = get_u16(c + 12);
    entry.mod_date = get_u16(c + 14);
    entry.crc32 = get_u32(c + 16);
    entry.compressed_size = get_u32(c + 20);
    entry.uncompressed_size = get_u32(c + 24);
    const size_t name_size = get_u16(c + 28);
    const size_t extra_size = get_u16(c + 30);
    const size_t comment_size = get_u16(c + 32);
    entry.internal_attributes = get_u16(c + 36);
    entry.external_attributes = get_u32(c + 38);
    const uint32_t local_offset = get_u32(c + 42);
    const size_t record_size = central_size + name_size + extra_size + comment_size;
    if (bytes_.size() - offset < record_size) {
      return Failure{damaged_text};
    }
    entry.name.assign(c + central_size, name_size);
    if (entry.compressed_size == 0xffffffff || entry.uncompressed_size == 0xffffffff ||
        local_offset == 0xffffffff) {
      return Failure{"zip64 archives are not supported"};
    }
    if (entry.flags & (flag_encrypted | flag_strong_encryption)) {
      return Failure{"encrypted archives are not supported"};
    }
    if (!index_.emplace(lower_ascii(entry.name), entries_.size()).second) {
      return Failure{std::string(damaged_text) + " (two entries named " + entry.name + ")"};
    }
    const Result<> located = locate_data(entry, local_offset);
    if (!located.ok()) return located;
    spans.emplace_back(local_offset, entry.data_offset + entry.compressed_size);
    entries_.push_back(std::move(entry));
    offset += record_size;
  }
  if (spans_overlap(spans)) {
    return Failure{std::string(damaged_text) + " (entries share their data)"};
  }
  return {};
}

Result<> ZipReader::locate_data(ZipEntry& entry, size_t local_offset) const {
  if (local_offset > bytes_.size() || bytes_.size() - local_offset < local_size ||
      get_u32(&bytes_[local_offset]) != local_signature) {
    return Failure{damaged_text};
  }
  const char* l = &bytes_[local_offset];
  const size_t data = local_offset + local_size + get_u16(l + 26) + get_u16(l + 28);
  if (data > bytes_.size() || bytes_.size() - data < entry.compressed_size) {
    return Failure{damaged_text};
  }
  entry.data_offset = data;
  return {};
}

const ZipEntry* ZipReader::find(std::string_view name) const {
  const auto found = index_.find(lower_ascii(name));
  return found == index_.end() ? nullptr : &entries_[found->second];
}

std::string_view ZipReader::compressed_data(const ZipEntry& entry) const {
  return std::string_view(bytes_).substr(entry.data_offset, entry.compressed_size);
}

Result<std::string> ZipReader::extract(const ZipEntry& entry) {
  const size_t size = entry.uncompressed_size;
  const bool absurd_ratio =
      size >= ratio_checked_from && size / max_compression_ratio > entry.compressed_size;
  if (size > max_inflated_total - inflated_total_ || absurd_ratio) {
    return Failure{"entry too large: " + entry.name};
  }
  const std::string_view data = compressed_data(entry);
  std::string out;
  bool ok = false;
  if (entry.method == 0) {
    ok = data.size() == size;
    if (ok) out.assign(data);
  } else if (entry.method == 8) {
    ok = inflate_raw(data, size, out);
  } else {
    return Failure{"unsupported compression method in " + entry.name};
  }
  if (!ok || crc32_of(out) != entry.crc32) return Failure{"damaged zip entry: " + entry.name};
  inflated_total_ += size;
  return out;
}

}  // namespace tarvenix::xlsx
