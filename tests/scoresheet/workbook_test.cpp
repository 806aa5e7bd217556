// The workbook interface through real files: the committed template (made with openpyxl), files
// written by us and read back, also by openpyxl (on Linux), and damaged inputs.
#include <doctest/doctest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "records/contest.h"
#include "records/sink.h"
#include "scoresheet/workbook.h"
#include "support/log_capture.h"
#include "xlsx/zip_reader.h"
#include "xlsx/zip_writer.h"

using namespace tarvenix;
using testing::read_file;
namespace fs = std::filesystem;

namespace {

const std::string template_file =
    std::string(TARVENIX_SOURCE_DIR) + "/tests/data/scoresheet_template.xlsx";
const std::string fixture_script =
    std::string(TARVENIX_SOURCE_DIR) + "/tests/data/openpyxl_fixture.py";

// A folder of its own for one test case, removed afterwards.
struct ScratchFolder {
  fs::path path = testing::temp_file_path("tarvenix_workbook");
  ScratchFolder() { fs::create_directories(path); }
  ~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  std::string file(const std::string& name) const { return (path / name).string(); }
  long count() const {
    return std::distance(fs::directory_iterator(path), fs::directory_iterator());
  }
};

void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The template archive with one entry replaced (or left out when `content` is null).
std::string template_with(const std::string& name, const char* content) {
  xlsx::ZipReader reader;
  REQUIRE(reader.open(read_file(template_file)).ok());
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

// The cells a conversion writes: year and call sign, and two credit rows; besides, two cells
// that held formulas, a zone row far past the template's end and a cell between two others.
const struct {
  int row, col;
  double number;
  const char* text;  // null: the number is written
} filled[] = {
    // clang-format off
    {1, 4, CONTEST_YEAR, nullptr}, {1, 6, 0, "K1&<A>"},
    {5, 3, 3, nullptr}, {5, 4, 3, nullptr}, {5, 5, 5, nullptr}, {5, 6, 20, nullptr}, {5, 7, 0, "Phone"}, {5, 8, 0, "GM/S0ABC"},
    {6, 3, 3, nullptr}, {6, 4, 3, nullptr}, {6, 5, 5, nullptr}, {6, 6, 20, nullptr}, {6, 7, 0, "Phone"}, {6, 8, 0, "GM/S0ABC"},
    {5, 9, 99, nullptr},   // J6 held the formula D6+E6
    {5, 10, 98, nullptr},  // K6 held the shared formula of K6:K12
    {390, 3, 1, nullptr}, {2, 1, 0, "between A3 and C3"},
    // clang-format on
};

void fill(Sheet& sheet) {
  for (const auto& c : filled) {
    if (c.text != nullptr) sheet.write_text(c.row, c.col, c.text);
    if (c.text == nullptr) sheet.write_number(c.row, c.col, c.number);
  }
}

}  // namespace

TEST_CASE("the template's cells read as text, number or nothing") {
  Workbook book;
  REQUIRE_MESSAGE(book.load(template_file), book.error_message());
  Sheet* sheet = book.first_sheet();
  REQUIRE(sheet != nullptr);
  CHECK(sheet->read_text(1, 1) == "DX Tarvenix Worksheet");
  CHECK(sheet->read_text(2, 0) == "Tom & Jerry <co>");
  CHECK(sheet->read_text(2, 2) == "inline & text");
  CHECK(sheet->read_text(3, 2) == "Rich text");
  CHECK_FALSE(sheet->read_text(1, 4).has_value());  // style only
  CHECK_FALSE(sheet->read_text(5, 0).has_value());  // a number
  CHECK(sheet->read_number(5, 0) == 1);
  CHECK(sheet->read_number(6, 3) == 12);
  CHECK(sheet->read_number(5, 3) == 0);
  CHECK(sheet->last_row() == 20);
}

TEST_CASE(
    "written cells are read back from the saved file, which replaced the old one, and the "
    "template is untouched") {
  ScratchFolder folder;
  const std::string before = read_file(template_file);
  const std::string output = folder.file("results.xlsx");
  write_bytes(output, "an older file");  // replaced
  {
    Workbook book;
    REQUIRE(book.load(template_file));
    fill(*book.first_sheet());
    CHECK(book.first_sheet()->read_text(1, 6) == "K1&<A>");
    REQUIRE_MESSAGE(book.save(output), book.error_message());
  }
  CHECK(read_file(template_file) == before);
  CHECK(folder.count() == 1);  // no temporary file left behind
  Workbook book;
  REQUIRE_MESSAGE(book.load(output), book.error_message());
  Sheet& sheet = *book.first_sheet();
  for (const auto& c : filled) {
    CAPTURE(c.row);
    CAPTURE(c.col);
    if (c.text != nullptr) CHECK(sheet.read_text(c.row, c.col) == c.text);
    if (c.text == nullptr) CHECK(sheet.read_number(c.row, c.col) == c.number);
  }
  CHECK(sheet.last_row() == 391);
#ifndef _WIN32
  // openpyxl, an independent library, reads back every written value from what we saved and
  // finds everything else unchanged (python with openpyxl is not reachable from inside Wine)
  std::string json = "{";
  for (const auto& c : filled) {
    json += std::string(json.size() > 1 ? ", " : "") + "\"Scoresheet!" + char('A' + c.col) +
            std::to_string(c.row + 1) + "\": ";
    json += c.text != nullptr ? '"' + std::string(c.text) + '"' : std::to_string(int(c.number));
  }
  write_bytes(folder.file("expected.json"), json + "}");
  CHECK(std::system((std::string(TARVENIX_PYTHON) + " " + fixture_script + " compare " +
                     template_file + " " + output + " " + folder.file("expected.json"))
                        .c_str()) == 0);
#endif
}

TEST_CASE("a save that cannot be written fails with a text and leaves nothing behind") {
  ScratchFolder folder;
  Workbook book;
  CHECK(book.first_sheet() == nullptr);
  CHECK_FALSE(book.save("never-written.xlsx"));
  CHECK(book.error_message() == "no workbook loaded");
  REQUIRE(book.load(template_file));
  CHECK_FALSE(book.save(folder.file("missing/results.xlsx")));
  CHECK(book.error_message().starts_with("can't write the file: "));
  CHECK(folder.count() == 0);
  // nor is the template itself ever the output
  const std::string copy = folder.file("template.xlsx");
  write_bytes(copy, read_file(template_file));
  REQUIRE(book.load(copy));
  CHECK_FALSE(book.save(copy));
  CHECK(book.error_message() == "the template must not be overwritten");
  CHECK(read_file(copy) == read_file(template_file));
}

TEST_CASE("damaged inputs give a clear text, no sheet and no output") {
  ScratchFolder folder;
  const std::string whole = read_file(template_file);
  const struct {
    std::string bytes;  // empty: no file
    const char* error;  // the text, or its start when it ends in ": "
  } cases[] = {
      // clang-format off
      {"", "file not found"},
      {"QSO list, not a workbook\n", "not a zip archive"},
      {whole.substr(0, whole.size() / 2), "not a zip archive"},
      {template_with("xl/worksheets/sheet1.xml", nullptr), "damaged workbook: xl/worksheets/sheet1.xml is missing"},
      {template_with("xl/workbook.xml", "<workbook><sheets/></workbook>"), "not a workbook: no worksheet"},
      {template_with("xl/workbook.xml", nullptr), "not a workbook: no workbook part"},
      {template_with("xl/worksheets/sheet1.xml", "<worksheet><sheetData><row>"), "damaged XML in xl/worksheets/sheet1.xml: "},
      {template_with("xl/sharedStrings.xml", "<sst><si><t>a</si></sst>"), "damaged XML in xl/sharedStrings.xml: "},
      // clang-format on
  };
  int i = 0;
  for (const auto& c : cases) {
    CAPTURE(c.error);
    const std::string path = folder.file(std::to_string(++i) + ".xlsx");
    if (!c.bytes.empty()) write_bytes(path, c.bytes);
    Workbook book;
    CHECK_FALSE(book.load(path));
    CHECK(book.first_sheet() == nullptr);
    CHECK(book.error_message().starts_with(c.error));
    if (!std::string_view(c.error).ends_with(": ")) CHECK(book.error_message() == c.error);
    CHECK_FALSE(book.save(path + ".out.xlsx"));
    CHECK_FALSE(fs::exists(path + ".out.xlsx"));
  }
}
