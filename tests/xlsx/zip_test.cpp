// The zip container: round trips in memory, and archives that are damaged, hostile or of a kind
// we refuse.
#include <doctest/doctest.h>

#include <zlib.h>

#include <string>

#include "records/byte_order.h"
#include "xlsx/deflate.h"
#include "xlsx/zip_reader.h"
#include "xlsx/zip_writer.h"

using namespace tarvenix;
using namespace tarvenix::xlsx;

namespace {

ZipEntry named(const std::string& name) {
  ZipEntry entry;
  entry.name = name;
  entry.mod_time = 0x6000;
  entry.mod_date = 0x5921;
  return entry;
}

ZipEntry stored(const std::string& name, const std::string& content) {
  ZipEntry entry = named(name);
  entry.crc32 = crc32_of(content);
  entry.compressed_size = entry.uncompressed_size = static_cast<uint32_t>(content.size());
  return entry;
}

std::string two_entry_archive() {
  StringSink sink;
  ZipWriter writer(sink);
  REQUIRE(writer.add_deflated(named("a/one.xml"), std::string(1000, 'x') + "<end/>"));
  REQUIRE(writer.add_copy(stored("two.txt", "stored text"), "stored text"));
  REQUIRE(writer.finish());
  return sink.bytes();
}

// The offset of the first central directory record.
size_t central_offset(const std::string& archive) {
  return get_u32(&archive[archive.size() - 22 + 16]);
}

void set_u32(std::string& bytes, size_t at, uint32_t value) {
  std::string le;
  put_u32(le, value);
  bytes.replace(at, 4, le);
}

std::string open_error(std::string bytes) {
  ZipReader reader;
  std::string error;
  CHECK_FALSE(reader.open(std::move(bytes), error));
  return error;
}

std::string extract_error(std::string bytes) {
  ZipReader reader;
  std::string error;
  REQUIRE(reader.open(std::move(bytes), error));
  std::string content;
  CHECK_FALSE(reader.extract(reader.entries().front(), content, error));
  return error;
}

}  // namespace

TEST_CASE("an archive read back holds its entries and contents; copies keep compressed bytes") {
  ZipReader reader;
  std::string error;
  REQUIRE(reader.open(two_entry_archive(), error));
  REQUIRE(reader.entries().size() == 2);
  CHECK(reader.entries()[0].name == "a/one.xml");
  CHECK(reader.entries()[0].method == 8);
  CHECK(reader.entries()[0].mod_date == 0x5921);
  std::string content;
  REQUIRE(reader.extract(reader.entries()[0], content, error));
  CHECK(content == std::string(1000, 'x') + "<end/>");
  REQUIRE(reader.extract(*reader.find("TWO.TXT"), content, error));
  CHECK(content == "stored text");
  CHECK(reader.find("three") == nullptr);

  StringSink sink;
  ZipWriter writer(sink);
  for (const ZipEntry& entry : reader.entries()) {
    REQUIRE(writer.add_copy(entry, reader.compressed_data(entry)));
  }
  REQUIRE(writer.finish());
  ZipReader copy;
  REQUIRE(copy.open(sink.bytes(), error));
  for (const ZipEntry& entry : reader.entries()) {
    CHECK(copy.compressed_data(*copy.find(entry.name)) == reader.compressed_data(entry));
  }
}

TEST_CASE("bytes that are no archive are refused") {
  CHECK(open_error("") == "not a zip archive");
  CHECK(open_error("just some text, named .xlsx\n") == "not a zip archive");
}

TEST_CASE("every truncation of a good archive fails cleanly") {
  const std::string archive = two_entry_archive();
  for (size_t size = 0; size < archive.size(); ++size) {
    ZipReader reader;
    std::string error;
    CHECK_FALSE(reader.open(archive.substr(0, size), error));
    CHECK_FALSE(error.empty());
  }
}

TEST_CASE("a central directory record changed in one field is refused with its own text") {
  const std::string good = two_entry_archive();
  const size_t first = central_offset(good);
  const size_t second = first + 46 + std::string("a/one.xml").size();
  const struct {
    size_t at;
    uint32_t value;
    bool on_extract;  // refused when the first entry is extracted rather than when opened
    const char* error;
  } cases[] = {
      {first + 42, 0x00ffffff, false, "damaged zip archive"},  // local header past the data
      {first + 24, 0xffffffff, false, "zip64 archives are not supported"},
      {second + 42, 0, false, "damaged zip archive (entries share their data)"},
      {first + 24, static_cast<uint32_t>(max_inflated_total + 1), true,
       "entry too large: a/one.xml"},
      {first + 24, 10, true, "damaged zip entry: a/one.xml"},  // another size than declared
      {first + 24, 5000, true, "damaged zip entry: a/one.xml"},
      {first + 16, 12345, true, "damaged zip entry: a/one.xml"},  // checksum
  };
  for (const auto& c : cases) {
    CAPTURE(c.at - first);
    CAPTURE(c.value);
    std::string archive = good;
    set_u32(archive, c.at, c.value);
    CHECK((c.on_extract ? extract_error(archive) : open_error(archive)) == c.error);
  }
  std::string encrypted = good;
  encrypted[first + 8] |= 1;
  CHECK(open_error(encrypted) == "encrypted archives are not supported");
}

TEST_CASE("a zip bomb of zeros is refused by its compression ratio") {
  StringSink sink;
  ZipWriter writer(sink);
  const std::string zeros(size_t{64} << 20, '\0');
  REQUIRE(writer.add_deflated(named("xl/worksheets/sheet1.xml"), zeros, Z_BEST_COMPRESSION));
  REQUIRE(writer.finish());
  CHECK(extract_error(sink.bytes()) == "entry too large: xl/worksheets/sheet1.xml");
}

TEST_CASE("two entries of the same name are damage") {
  StringSink sink;
  ZipWriter writer(sink);
  REQUIRE(writer.add_copy(stored("same", "1"), "1"));
  REQUIRE(writer.add_copy(stored("same", "2"), "2"));
  REQUIRE(writer.finish());
  CHECK(open_error(sink.bytes()) == "damaged zip archive (two entries named same)");
}

namespace {
struct DiscardingSink final : Sink {
  bool write(const char*, size_t) override { return true; }
};
}  // namespace

TEST_CASE("no archive larger than the reader takes is written") {
  DiscardingSink sink;
  ZipWriter writer(sink);
  const std::string block(size_t{64} << 20, 'x');
  const size_t fit = max_archive_size / block.size() - 1;
  for (size_t i = 0; i < fit; ++i) {
    REQUIRE(writer.add_copy(stored("block" + std::to_string(i), block), block));
  }
  CHECK_FALSE(writer.add_copy(stored("one more", block), block));
}
