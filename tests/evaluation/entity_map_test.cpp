// Reading the entity list of a Scoresheet through a fake sheet.
#include <doctest/doctest.h>

#include <map>
#include <string>
#include <utility>

#include "evaluation/entity_map.h"
#include "support/log_capture.h"

using namespace tarvenix;
using tarvenix::testing::LogCapture;

namespace {

// A sheet of text cells in memory; last_row() is the row after the last cell unless `rows` is
// set.
class FakeSheet final : public Sheet {
 public:
  std::optional<std::string_view> read_text(int row, int col) const override {
    const auto it = cells.find({row, col});
    if (it == cells.end()) return std::nullopt;
    return std::string_view(it->second);
  }
  double read_number(int, int) const override { return 0; }
  int last_row() const override {
    return rows != 0 ? rows : cells.empty() ? 0 : cells.rbegin()->first.first + 1;
  }
  void write_number(int, int, double) override {}
  void write_text(int row, int col, std::string_view text) override { cells[{row, col}] = text; }

  std::map<std::pair<int, int>, std::string> cells;
  int rows = 0;
};

// prefix_cell: as the template writes it; empty for no cell
// name: empty for no cell
// clang-format off
struct Row { int row; std::string prefix_cell; std::string name; };
// clang-format on

// The entity map read from rows of prefix and name cells, as "code@row prefix|name" in code
// order, then the lines the reading wrote and the counts of warnings and errors.
std::string mapping(std::initializer_list<Row> rows, int last_row = 0) {
  FakeSheet sheet;
  for (const Row& r : rows) {
    if (!r.prefix_cell.empty()) sheet.cells[{r.row, 1}] = r.prefix_cell;
    if (!r.name.empty()) sheet.cells[{r.row, 2}] = r.name;
  }
  sheet.rows = last_row;
  EntityCreditTable entities;
  LogCapture capture;
  read_entity_map(sheet, entities, capture.log);
  std::string out;
  for (int i = 0; i < entities.size(); ++i) {
    if (const CreditRecord* e = entities.find(i)) {
      CHECK(e->code == i);
      out +=
          std::to_string(i) + "@" + std::to_string(e->row) + " " + e->prefix + "|" + e->name + "; ";
    }
  }
  return out + capture.text() + "w" + std::to_string(capture.log.warnings) + " e" +
         std::to_string(capture.log.errors);
}

}  // namespace

TEST_CASE("entity rows are mapped with code, row, name and prefix word") {
  CHECK(mapping({{5, "KH8/s - Swains", "Swains Island"},
                 {6, "GM", "Scotland"},
                 {7, "GM/s - Shetland", "Shetland Is."},
                 {8, "IT9,Sicily", "Sicily"},
                 {9, "ZS8", "Prince Edward & Marion Is."}}) ==
        "201@9 ZS8|Prince Edward & Marion Is.; 279@6 GM|Scotland; 515@5 KH8/s|Swains Island; "
        "902@7 GM/s|Shetland Is.; 904@8 IT9|Sicily; w0 e0");
  // a sheet of five rows or fewer maps nothing and writes nothing
  CHECK(mapping({{4, "K", "United States of America"}}, 5) == "w0 e0");
}

TEST_CASE("unknown prefixes are errors and the scan goes on; a prefix cell is cut to 31") {
  CHECK(mapping({{5, "ZZ - nowhere", "Nowhere"},
                 {6, "0A", "Before all"},
                 {7, "kh8", "lower case"},
                 {8, std::string(40, 'A'), "long"},
                 {9, "K" + std::string(40, ' ') + "x", "United States of America"},
                 {10, "VE", ""}}) ==
        "1@10 VE|; 291@9 K|United States of America; "
        "ERROR:\tZZ was not found in the ADIF map!\n"
        "ERROR:\t0A was not found in the ADIF map!\n"
        "ERROR:\tkh8 was not found in the ADIF map!\n"
        "ERROR:\t" +
            std::string(31, 'A') + " was not found in the ADIF map!\nw0 e4");
}

TEST_CASE("neighbouring duplicates are warned about and the first row wins") {
  CHECK(mapping({{5, "K", "first"},
                 {6, "K - again", "second"},
                 {7, "VE", "Canada"},
                 {8, "K", "far away"}}) ==
        "1@7 VE|Canada; 291@5 K|first; WARN:\tDuplicate prefix: K\nw1 e0");
}

TEST_CASE("rows after ZS8 are not mapped and Change History ends the scan") {
  CHECK(mapping({{5, "ZS8", "Prince Edward & Marion Is."},
                 {6, "K", "after the list"},
                 {7, "", "Change History"},
                 {8, "VE", "after the end"}}) == "201@5 ZS8|Prince Edward & Marion Is.; w0 e0");
  // without ZS8 the sheet is mapped to its last used row, Change History meaning nothing; rows
  // 6 to 39 have no prefix: each is reported, none as a duplicate
  const std::string mapped = mapping(
      {{5, "K", "United States of America"}, {6, "", "Change History"}, {40, "VE", "Canada"}});
  CHECK(mapped.starts_with("1@40 VE|Canada; 291@5 K|United States of America; ERROR:\t"));
  CHECK(mapped.ends_with("w0 e34"));
}
