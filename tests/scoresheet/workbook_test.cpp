// The workbook interface through real files: the committed template (made with openpyxl), files
// written by us and read back, damaged inputs, and (on Linux) openpyxl reading what we saved.
#include <doctest/doctest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "records/sink.h"
#include "scoresheet/workbook.h"
#include "xlsx/zip_reader.h"
#include "xlsx/zip_writer.h"

using namespace tarvenix;
namespace fs = std::filesystem;

namespace {

const std::string kTemplate =
    std::string(TARVENIX_SOURCE_DIR) + "/tests/data/scoresheet_template.xlsx";
const std::string kFixtureScript =
    std::string(TARVENIX_SOURCE_DIR) + "/tests/data/openpyxl_fixture.py";

// A folder of its own for one test case, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("tarvenix_workbook_" + std::to_string(random()));
    fs::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  size_t count() const {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(path_), fs::directory_iterator()));
  }

 private:
  fs::path path_;
};

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// The template archive with one entry replaced (or left out when `content` is null).
std::string template_with(const std::string& name, const char* content) {
  xlsx::ZipReader reader;
  std::string error;
  REQUIRE(reader.open(read_bytes(kTemplate), error));
  StringSink sink;
  xlsx::ZipWriter writer(sink);
  for (const xlsx::ZipEntry& entry : reader.entries()) {
    if (entry.name != name) {
      REQUIRE(writer.add_copy(entry, reader.compressed_data(entry)));
    } else if (content != nullptr) {
      REQUIRE(writer.add_deflated(entry, content));
    }
  }
  REQUIRE(writer.finish());
  return sink.bytes();
}

std::string load_error(const std::string& path) {
  Workbook book;
  CHECK_FALSE(book.load(path));
  CHECK(book.first_sheet() == nullptr);
  const std::string error = book.error_message();
  CHECK_FALSE(book.save(path + ".out.xlsx"));
  CHECK_FALSE(fs::exists(path + ".out.xlsx"));
  return error;
}

// The cells a conversion writes: year and call sign, and two credit rows.
void fill(Sheet& sheet) {
  sheet.write_number(1, 4, 2024);
  sheet.write_text(1, 6, "K1&<A>");
  const int rows[] = {5, 6};
  for (int row : rows) {
    sheet.write_number(row, 3, 3);
    sheet.write_number(row, 4, 3);
    sheet.write_number(row, 5, 5);
    sheet.write_number(row, 6, 20);
    sheet.write_text(row, 7, "Phone");
    sheet.write_text(row, 8, "GM/S0ABC");
  }
  sheet.write_number(5, 9, 99);   // J6 held the formula D6+E6
  sheet.write_number(5, 10, 98);  // K6 held the shared formula of K6:K12
  sheet.write_number(390, 3, 1);  // a zone row far past the template's end
  sheet.write_text(2, 1, "between A3 and C3");
}

}  // namespace

TEST_CASE("the template's cells read as text, number or nothing") {
  Workbook book;
  REQUIRE_MESSAGE(book.load(kTemplate), book.error_message());
  Sheet* sheet = book.first_sheet();
  REQUIRE(sheet != nullptr);
  CHECK(sheet->read_text(1, 1) == "DX Tarvenix Worksheet");
  CHECK(sheet->read_text(2, 0) == "Tom & Jerry <co>");
  CHECK(sheet->read_text(2, 2) == "inline & text");
  CHECK(sheet->read_text(3, 2) == "Rich text");
  CHECK(sheet->read_text(1, 11) == "ab");
  CHECK(sheet->read_text(8, 1) == "GM/s - Shetland");
  CHECK_FALSE(sheet->read_text(1, 4).has_value());  // style only
  CHECK_FALSE(sheet->read_text(5, 0).has_value());  // a number
  CHECK(sheet->read_number(5, 0) == 1);
  CHECK(sheet->read_number(6, 3) == 12);
  CHECK(sheet->read_number(2, 4) == doctest::Approx(3.14159));
  CHECK(sheet->read_number(5, 3) == 0);
  CHECK(sheet->last_row() == 20);
}

TEST_CASE(
    "written cells are read back from the saved file, which replaced the old one, and the "
    "template is untouched") {
  ScratchFolder folder;
  const std::string before = read_bytes(kTemplate);
  const std::string output = folder.file("results.xlsx");
  write_bytes(output, "an older file");  // replaced
  {
    Workbook book;
    REQUIRE(book.load(kTemplate));
    fill(*book.first_sheet());
    CHECK(book.first_sheet()->read_text(1, 6) == "K1&<A>");
    REQUIRE_MESSAGE(book.save(output), book.error_message());
  }
  CHECK(read_bytes(kTemplate) == before);
  CHECK(folder.count() == 1);  // no temporary file left behind
  Workbook book;
  REQUIRE_MESSAGE(book.load(output), book.error_message());
  Sheet& sheet = *book.first_sheet();
  CHECK(sheet.read_number(1, 4) == 2024);
  CHECK(sheet.read_text(1, 6) == "K1&<A>");
  CHECK(sheet.read_number(6, 3) == 3);
  CHECK(sheet.read_number(5, 5) == 5);
  CHECK(sheet.read_text(6, 7) == "Phone");
  CHECK(sheet.read_text(5, 8) == "GM/S0ABC");
  CHECK(sheet.read_number(5, 9) == 99);
  CHECK(sheet.read_number(5, 10) == 98);
  CHECK(sheet.read_number(390, 3) == 1);
  CHECK(sheet.read_text(2, 1) == "between A3 and C3");
  CHECK(sheet.read_text(2, 2) == "inline & text");
  CHECK(sheet.read_text(1, 1) == "DX Tarvenix Worksheet");
  CHECK(sheet.last_row() == 391);
}

TEST_CASE("a save that cannot be written fails with a text and leaves nothing behind") {
  ScratchFolder folder;
  Workbook book;
  REQUIRE(book.load(kTemplate));
  CHECK_FALSE(book.save(folder.file("missing/results.xlsx")));
  CHECK(book.error_message().starts_with("can't write the file: "));
  CHECK(folder.count() == 0);
}

TEST_CASE("the template itself is never the output") {
  ScratchFolder folder;
  const std::string copy = folder.file("template.xlsx");
  write_bytes(copy, read_bytes(kTemplate));
  Workbook book;
  REQUIRE(book.load(copy));
  CHECK_FALSE(book.save(copy));
  CHECK(book.error_message() == "the template must not be overwritten");
  CHECK(read_bytes(copy) == read_bytes(kTemplate));
}

TEST_CASE("nothing loaded: no sheet, and nothing to save") {
  Workbook book;
  CHECK(book.first_sheet() == nullptr);
  CHECK_FALSE(book.save("never-written.xlsx"));
  CHECK(book.error_message() == "no workbook loaded");
}

TEST_CASE("damaged inputs give a clear text, no sheet and no output") {
  ScratchFolder folder;
  const std::string whole = read_bytes(kTemplate);
  const struct {
    std::string bytes;  // empty: no file
    const char* error;  // the text, or its start when it ends in ": "
  } cases[] = {
      {"", "file not found"},
      {"QSO list, not a workbook\n", "not a zip archive"},
      {whole.substr(0, whole.size() / 2), "not a zip archive"},
      {template_with("xl/worksheets/sheet1.xml", nullptr),
       "damaged workbook: xl/worksheets/sheet1.xml is missing"},
      {template_with("xl/workbook.xml", "<workbook><sheets/></workbook>"),
       "not a workbook: no worksheet"},
      {template_with("xl/workbook.xml", nullptr), "not a workbook: no workbook part"},
      {template_with("xl/worksheets/sheet1.xml", "<worksheet><sheetData><row>"),
       "damaged XML in xl/worksheets/sheet1.xml: "},
      {template_with("xl/sharedStrings.xml", "<sst><si><t>a</si></sst>"),
       "damaged XML in xl/sharedStrings.xml: "},
  };
  int i = 0;
  for (const auto& c : cases) {
    CAPTURE(c.error);
    const std::string path = folder.file(std::to_string(++i) + ".xlsx");
    if (!c.bytes.empty()) write_bytes(path, c.bytes);
    const std::string error = load_error(path);
    if (std::string_view(c.error).ends_with(": ")) {
      CHECK(error.starts_with(c.error));
    } else {
      CHECK(error == c.error);
    }
  }
}

#ifndef _WIN32
// openpyxl, an independent library, makes a fresh template and checks what we saved from it.
TEST_CASE("openpyxl reads back every written value and finds everything else unchanged") {
  ScratchFolder folder;
  const std::string made = folder.file("template.xlsx");
  const std::string output = folder.file("output.xlsx");
  const std::string expected = folder.file("expected.json");
  const std::string python = TARVENIX_PYTHON;
  REQUIRE(std::system((python + " " + kFixtureScript + " make " + made).c_str()) == 0);
  Workbook book;
  REQUIRE_MESSAGE(book.load(made), book.error_message());
  fill(*book.first_sheet());
  REQUIRE_MESSAGE(book.save(output), book.error_message());
  write_bytes(expected,
              R"({"Scoresheet!E2": 2024, "Scoresheet!G2": "K1&<A>",
                  "Scoresheet!D6": 3, "Scoresheet!E6": 3, "Scoresheet!F6": 5, "Scoresheet!G6": 20,
                  "Scoresheet!H6": "Phone", "Scoresheet!I6": "GM/S0ABC", "Scoresheet!J6": 99, "Scoresheet!K6": 98,
                  "Scoresheet!D7": 3, "Scoresheet!E7": 3, "Scoresheet!F7": 5, "Scoresheet!G7": 20,
                  "Scoresheet!H7": "Phone", "Scoresheet!I7": "GM/S0ABC",
                  "Scoresheet!D391": 1, "Scoresheet!B3": "between A3 and C3"})");
  const std::string compare =
      python + " " + kFixtureScript + " compare " + made + " " + output + " " + expected;
  CHECK(std::system(compare.c_str()) == 0);
}
#else
TEST_CASE("openpyxl checks run on Linux only") {
  MESSAGE("skipped: python with openpyxl is not reachable from inside Wine");
}
#endif
