// The zip writer: local headers with the sizes known up front (no data descriptors), the
// central directory and the end record. Extra fields and comments are not carried over.
#include "xlsx/zip_writer.h"

#include "records/byte_order.h"
#include "xlsx/zip_format.h"

namespace tarvenix::xlsx {

namespace {

constexpr uint16_t flag_data_descriptor = 0x0008;
constexpr uint16_t extract_version = 20;
constexpr uint64_t max_entry_size = 0xffffffff;  // the sizes' field

void put_entry_fields(std::string& out, const ZipEntry& e) {
  put_u16(out, e.flags);
  put_u16(out, e.method);
  put_u16(out, e.mod_time);
  put_u16(out, e.mod_date);
  put_u32(out, e.crc32);
  put_u32(out, e.compressed_size);
  put_u32(out, e.uncompressed_size);
  put_u16(out, static_cast<uint16_t>(e.name.size()));
  put_u16(out, 0);  // extra field length
}

}  // namespace

bool ZipWriter::add_copy(const ZipEntry& entry, std::string_view compressed) {
  return add(entry, compressed);
}

bool ZipWriter::add_deflated(const ZipEntry& like, std::string_view content, int level) {
  Deflater deflater(level);
  deflater.write(content);
  if (!deflater.finish()) {
    error_ = "compression failed";
    return false;
  }
  return add_deflated(like, deflater);
}

bool ZipWriter::add_deflated(const ZipEntry& like, const Deflater& deflater) {
  if (deflater.size() > max_entry_size) {
    error_ = "archive too large";
    return false;
  }
  ZipEntry entry = like;
  entry.method = 8;
  entry.crc32 = deflater.crc();
  entry.compressed_size = static_cast<uint32_t>(deflater.compressed().size());
  entry.uncompressed_size = static_cast<uint32_t>(deflater.size());
  return add(std::move(entry), deflater.compressed());
}

bool ZipWriter::add(ZipEntry entry, std::string_view compressed) {
  if (entry.name.size() > 0xffff ||
      offset_ + compressed.size() + local_size + entry.name.size() > max_archive_size) {
    error_ = "archive too large";
    return false;
  }
  entry.flags &= static_cast<uint16_t>(~flag_data_descriptor);
  if (entry.version_needed < extract_version) entry.version_needed = extract_version;
  std::string header;
  put_u32(header, local_signature);
  put_u16(header, entry.version_needed);
  put_entry_fields(header, entry);
  header += entry.name;
  const auto header_offset = static_cast<uint32_t>(offset_);
  if (!emit(header) || !emit(compressed)) return false;
  written_.emplace_back(std::move(entry), header_offset);
  return true;
}

bool ZipWriter::finish() {
  std::string directory;
  for (const auto& [entry, header_offset] : written_) {
    put_u32(directory, central_signature);
    put_u16(directory, entry.version_made_by);
    put_u16(directory, entry.version_needed);
    put_entry_fields(directory, entry);
    put_u16(directory, 0);  // comment length
    put_u16(directory, 0);  // disk number
    put_u16(directory, entry.internal_attributes);
    put_u32(directory, entry.external_attributes);
    put_u32(directory, header_offset);
    directory += entry.name;
  }
  if (written_.size() >= 0xffff || offset_ + directory.size() > max_archive_size) {
    error_ = "archive too large";
    return false;
  }
  const auto directory_offset = static_cast<uint32_t>(offset_);
  std::string end;
  put_u32(end, end_signature);
  put_u16(end, 0);
  put_u16(end, 0);
  put_u16(end, static_cast<uint16_t>(written_.size()));
  put_u16(end, static_cast<uint16_t>(written_.size()));
  put_u32(end, static_cast<uint32_t>(directory.size()));
  put_u32(end, directory_offset);
  put_u16(end, 0);  // comment length
  return emit(directory) && emit(end);
}

bool ZipWriter::emit(std::string_view bytes) {
  if (!sink_.write(bytes.data(), bytes.size())) {
    error_ = "write failed";
    return false;
  }
  offset_ += bytes.size();
  return true;
}

}  // namespace tarvenix::xlsx
