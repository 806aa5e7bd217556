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

// An entry of `content` stored as it is; add_deflated sets the sizes and checksum its own way.
ZipEntry stored(const std::string& name, const std::string& content = {}) {
  ZipEntry entry{.name = name, .mod_time = 0x6000, .mod_date = 0x5921};
  entry.crc32 = crc32_of(content);
  entry.compressed_size = entry.uncompressed_size = static_cast<uint32_t>(content.size());
  return entry;
}

std::string two_entry_archive() {
  StringSink sink;
  ZipWriter writer(sink);
  REQUIRE(writer.add_deflated(stored("a/one.xml"), std::string(1000, 'x') + "<end/>"));
  REQUIRE(writer.add_copy(stored("two.txt", "stored text"), "stored text"));
  REQUIRE(writer.finish());
  return sink.bytes();
}

void set_u32(std::string& bytes, size_t at, uint32_t value) {
  std::string le;
  put_u32(le, value);
  bytes.replace(at, 4, le);
}

// Why the archive is refused when opened, or "extract: " and why its first entry is.
std::string refusal(std::string bytes) {
  ZipReader reader;
  const Result<> opened = reader.open(std::move(bytes));
  if (!opened.ok()) return opened.reason();
  const Result<std::string> content = reader.extract(reader.entries().front());
  REQUIRE_FALSE(content.ok());
  return "extract: " + content.reason();
}

}  // namespace

TEST_CASE("an archive read back holds its entries and contents; copies keep compressed bytes") {
  ZipReader reader;
  REQUIRE(reader.open(two_entry_archive()).ok());
  REQUIRE(reader.entries().size() == 2);
  CHECK(reader.entries()[0].name == "a/one.xml");
  CHECK(reader.entries()[0].method == 8);
  CHECK(reader.entries()[0].mod_date == 0x5921);
  CHECK(reader.extract(reader.entries()[0]).value() == std::string(1000, 'x') + "<end/>");
  CHECK(reader.extract(*reader.find("TWO.TXT")).value() == "stored text");
  CHECK(reader.find("three") == nullptr);

  StringSink sink;
  ZipWriter writer(sink);
  for (const ZipEntry& entry : reader.entries()) {
    REQUIRE(writer.add_copy(entry, reader.compressed_data(entry)));
  }
  REQUIRE(writer.finish());
  ZipReader copy;
  REQUIRE(copy.open(sink.bytes()).ok());
  for (const ZipEntry& entry : reader.entries())
    CHECK(copy.compressed_data(*copy.find(entry.name)) == reader.compressed_data(entry));
}

TEST_CASE("bytes that are no archive, and every truncation of a good one, fail cleanly") {
  CHECK(refusal("") == "not a zip archive");
  CHECK(refusal("just some text, named .xlsx\n") == "not a zip archive");
  const std::string archive = two_entry_archive();
  for (size_t size = 0; size < archive.size(); ++size) {
    const std::string why = refusal(archive.substr(0, size));
    CHECK((!why.empty() && !why.starts_with("extract: ")));  // refused when opened, and told why
  }
}

TEST_CASE("a central directory changed in one field, or naming an entry twice, is refused") {
  const std::string good = two_entry_archive();
  const size_t first = get_u32(&good[good.size() - 22 + 16]);  // the first central record
  const size_t second = first + 46 + std::string("a/one.xml").size();
  // clang-format off
  const struct { size_t at; uint32_t value; const char* error; } cases[] = {
      {first + 42, 0x00ffffff, "damaged zip archive"},  // local header past the data
      {first + 24, 0xffffffff, "zip64 archives are not supported"},
      {second + 42, 0, "damaged zip archive (entries share their data)"},
      {first + 24, static_cast<uint32_t>(max_inflated_total + 1), "extract: entry too large: a/one.xml"},
      {first + 24, 10, "extract: damaged zip entry: a/one.xml"},  // another size than declared
      {first + 24, 5000, "extract: damaged zip entry: a/one.xml"},
      {first + 16, 12345, "extract: damaged zip entry: a/one.xml"},  // checksum
      // clang-format on
  };
  for (const auto& c : cases) {
    CAPTURE(c.at - first);
    CAPTURE(c.value);
    std::string archive = good;
    set_u32(archive, c.at, c.value);
    CHECK(refusal(archive) == c.error);
  }
  std::string encrypted = good;
  encrypted[first + 8] |= 1;
  CHECK(refusal(encrypted) == "encrypted archives are not supported");
  StringSink sink;
  ZipWriter writer(sink);
  REQUIRE(writer.add_copy(stored("same", "1"), "1"));
  REQUIRE(writer.add_copy(stored("same", "2"), "2"));
  REQUIRE(writer.finish());
  CHECK(refusal(sink.bytes()) == "damaged zip archive (two entries named same)");
}

TEST_CASE("a zip bomb of zeros is refused by its compression ratio") {
  StringSink sink;
  ZipWriter writer(sink);
  const std::string zeros(size_t{64} << 20, '\0');
  REQUIRE(writer.add_deflated(stored("xl/worksheets/sheet1.xml"), zeros, Z_BEST_COMPRESSION));
  REQUIRE(writer.finish());
  CHECK(refusal(sink.bytes()) == "extract: entry too large: xl/worksheets/sheet1.xml");
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
