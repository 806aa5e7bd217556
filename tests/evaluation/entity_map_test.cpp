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

// A sheet of text cells in memory; last_row() is the row after the last cell.
class FakeSheet final : public Sheet {
 public:
  void set(int row, int col, std::string text) {
    cells_[{row, col}] = std::move(text);
    if (row + 1 > last_row_) last_row_ = row + 1;
  }
  // An entity row: the prefix cell as the template writes it, and the name.
  void entity(int row, const std::string& prefix_cell, const std::string& name) {
    set(row, 1, prefix_cell);
    set(row, 2, name);
  }
  void set_last_row(int row) { last_row_ = row; }

  std::optional<std::string_view> read_text(int row, int col) const override {
    const auto it = cells_.find({row, col});
    if (it == cells_.end()) return std::nullopt;
    return std::string_view(it->second);
  }
  double read_number(int, int) const override { return 0; }
  int last_row() const override { return last_row_; }
  void write_number(int, int, double) override {}
  void write_text(int row, int col, std::string_view text) override {
    set(row, col, std::string(text));
  }

 private:
  std::map<std::pair<int, int>, std::string> cells_;
  int last_row_ = 0;
};

// The entity map read from a sheet, and the lines the reading wrote.
struct Mapping {
  explicit Mapping(const FakeSheet& sheet) { read_entity_map(sheet, entities, capture.log); }
  int mapped() const {
    int n = 0;
    for (int i = 0; i < entities.size(); ++i) n += entities.find(i) != nullptr;
    return n;
  }
  EntityCreditTable entities;
  LogCapture capture;
};

}  // namespace

TEST_CASE("entity rows are mapped with code, row, name and prefix word") {
  FakeSheet sheet;
  sheet.entity(5, "KH8/s - Swains", "Swains Island");
  sheet.entity(6, "GM", "Scotland");
  sheet.entity(7, "GM/s - Shetland", "Shetland Is.");
  sheet.entity(8, "IT9,Sicily", "Sicily");
  sheet.entity(9, "ZS8", "Prince Edward & Marion Is.");
  Mapping m(sheet);
  CHECK(m.capture.text().empty());
  CHECK(m.mapped() == 5);
  const CreditRecord* swains = m.entities.find(515);
  REQUIRE(swains != nullptr);
  CHECK(swains->code == 515);
  CHECK(swains->row == 5);
  CHECK(swains->name == "Swains Island");
  CHECK(swains->prefix == "KH8/s");
  CHECK_FALSE(swains->has_call());
  CHECK(m.entities.find(279)->row == 6);
  CHECK(m.entities.find(902)->row == 7);
  CHECK(m.entities.find(904)->prefix == "IT9");
  CHECK(m.entities.find(201)->row == 9);
}

TEST_CASE("a sheet of five rows or fewer maps nothing and writes nothing") {
  FakeSheet sheet;
  sheet.entity(4, "K", "United States of America");
  sheet.set_last_row(5);
  Mapping m(sheet);
  CHECK(m.mapped() == 0);
  CHECK(m.capture.text().empty());
}

TEST_CASE("unknown prefixes are errors and the scan goes on; a prefix cell is cut to 31") {
  FakeSheet sheet;
  sheet.entity(5, "ZZ - nowhere", "Nowhere");
  sheet.entity(6, "0A", "Before all");
  sheet.entity(7, "kh8", "lower case");
  sheet.entity(8, std::string(40, 'A'), "long");
  sheet.entity(9, "K" + std::string(40, ' ') + "x", "United States of America");
  sheet.set(10, 1, "VE");  // no name
  Mapping m(sheet);
  CHECK(m.capture.text() ==
        "ERROR:\tZZ was not found in the ADIF map!\n"
        "ERROR:\t0A was not found in the ADIF map!\n"
        "ERROR:\tkh8 was not found in the ADIF map!\n"
        "ERROR:\t" +
            std::string(31, 'A') + " was not found in the ADIF map!\n");
  CHECK(m.capture.log.errors == 4);
  CHECK(m.mapped() == 2);
  CHECK(m.entities.find(291)->row == 9);
  REQUIRE(m.entities.find(1) != nullptr);
  CHECK(m.entities.find(1)->name.empty());
}

TEST_CASE("neighbouring duplicates are warned about and the first row wins") {
  FakeSheet sheet;
  sheet.entity(5, "K", "first");
  sheet.entity(6, "K - again", "second");
  sheet.entity(7, "VE", "Canada");
  sheet.entity(8, "K", "far away");
  Mapping m(sheet);
  CHECK(m.capture.text() == "WARN:\tDuplicate prefix: K\n");
  CHECK(m.capture.log.warnings == 1);
  CHECK(m.entities.find(291)->row == 5);
  CHECK(m.entities.find(291)->name == "first");
}

TEST_CASE("rows after ZS8 are not mapped and Change History ends the scan") {
  FakeSheet sheet;
  sheet.entity(5, "ZS8", "Prince Edward & Marion Is.");
  sheet.entity(6, "K", "after the list");
  sheet.set(7, 2, "Change History");
  sheet.entity(8, "VE", "after the end");
  Mapping m(sheet);
  CHECK(m.mapped() == 1);
  CHECK(m.entities.find(291) == nullptr);
  CHECK(m.capture.text().empty());
}

TEST_CASE("without ZS8 the sheet is mapped to its last used row") {
  FakeSheet sheet;
  sheet.entity(5, "K", "United States of America");
  sheet.set(6, 2, "Change History");  // no meaning before the ZS8 row
  sheet.entity(40, "VE", "Canada");
  Mapping m(sheet);
  CHECK(m.entities.find(1)->row == 40);
  CHECK(m.entities.find(291)->row == 5);
  // Rows 6 to 39 have no prefix: each is reported, none as a duplicate.
  CHECK(m.capture.log.errors == 34);
  CHECK(m.capture.log.warnings == 0);
}
