// The worksheet model: reading every kind of cell, and writes that change only what they touch.
#include <doctest/doctest.h>

#include <cmath>
#include <limits>
#include <string>

#include "xlsx/shared_strings.h"
#include "xlsx/worksheet.h"

using namespace tarvenix;
using namespace tarvenix::xlsx;

namespace {

const std::string kHead =
    "<?xml version=\"1.0\"?>\n<worksheet xmlns=\"m\"><dimension ref=\"A1:C9\"/><sheetData>";
const std::string kTail =
    "</sheetData><mergeCells count=\"1\"><mergeCell ref=\"A1:B1\"/></mergeCells></worksheet>";

Worksheet sheet_of(const std::string& rows, const SharedStrings* strings = nullptr) {
  Worksheet sheet;
  std::string error;
  REQUIRE_MESSAGE(sheet.parse(kHead + rows + kTail, "sheet.xml", strings, error), error);
  return sheet;
}

std::string bracketed(std::string_view text) {
  std::string out(1, '[');
  return out.append(text).append("]");
}

std::string text_or_none(const Worksheet& sheet, int row, int col) {
  const auto text = sheet.text(row, col);
  return text ? bracketed(*text) : "none";
}

Worksheet reparsed(const Worksheet& sheet) {
  Worksheet again;
  std::string error;
  REQUIRE_MESSAGE(again.parse(sheet.serialize(), "sheet.xml", nullptr, error), error);
  return again;
}

}  // namespace

TEST_CASE("every kind of cell reads as the operator sees it") {
  SharedStrings strings;
  std::string error;
  REQUIRE(
      strings.parse("<sst><si><t>plain</t></si><si><r><t>ri</t></r><rPh><t>no</t></rPh>"
                    "<r><t>ch</t></r></si><si><t>a_x000D_b</t></si></sst>",
                    "sst.xml", error));
  const Worksheet sheet = sheet_of(
      "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
      "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"s\"><v>9</v></c></row>"
      "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>in &amp; line</t></is></c>"
      "<c r=\"B2\" t=\"inlineStr\"><is><r><t>one </t></r><r><t>two</t></r></is></c>"
      "<c r=\"C2\" t=\"str\"><f>\"x\"</f><v>formula text</v></c>"
      "<c r=\"D2\" s=\"4\"/><c r=\"E2\" s=\"4\" t=\"n\"></c></row>"
      "<row r=\"3\"><c r=\"A3\"><v>930</v></c><c r=\"B3\" t=\"n\"><v>-1.5E2</v></c>"
      "<c r=\"C3\" t=\"b\"><v>1</v></c><c r=\"D3\" t=\"e\"><v>#DIV/0!</v></c>"
      "<c r=\"E3\"><f>A3*2</f><v>1860</v></c><c r=\"F3\"><v>12abc</v></c></row>",
      &strings);
  // D1's index is past the table; D2 and E2 are empty; row 3 holds numbers only
  const char* const texts[3][5] = {{"[plain]", "[rich]", "[a\rb]", "none", "none"},
                                   {"[in & line]", "[one two]", "[formula text]", "none", "none"},
                                   {"none", "none", "none", "none", "none"}};
  const double numbers[3][6] = {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {930, -150, 1, 0, 1860, 0}};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 6; ++col) {
      CAPTURE(row);
      CAPTURE(col);
      if (col < 5) CHECK(text_or_none(sheet, row, col) == texts[row][col]);
      CHECK(sheet.number(row, col) == numbers[row][col]);
    }
  }
  CHECK(text_or_none(sheet, 40, 40) == "none");
}

TEST_CASE("cells and rows without a reference follow the one before") {
  const Worksheet sheet = sheet_of(
      "<row r=\"3\"><c r=\"B3\"><v>1</v></c><c><v>2</v></c></row><row><c><v>3</v></c></row>");
  CHECK(sheet.number(2, 2) == 2);
  CHECK(sheet.number(3, 0) == 3);
  CHECK(sheet.last_row() == 4);
}

TEST_CASE("the last row is the one after the last row holding a cell") {
  CHECK(sheet_of("").last_row() == 0);
  CHECK(sheet_of("<row r=\"5\"><c r=\"A5\" s=\"1\"/></row><row r=\"9\" ht=\"20\"/>").last_row() ==
        5);
}

TEST_CASE("rows or cells out of order are reported as damage") {
  Worksheet sheet;
  std::string error;
  CHECK_FALSE(sheet.parse(kHead + "<row r=\"2\"/><row r=\"1\"/>" + kTail, "s.xml", nullptr, error));
  CHECK(error == "damaged XML in s.xml: rows out of order");
  CHECK_FALSE(sheet.parse(kHead + "<row r=\"2\"><c r=\"B2\"/><c r=\"A2\"/></row>" + kTail, "s.xml",
                          nullptr, error));
  CHECK(error == "damaged XML in s.xml: cells out of order");
  CHECK_FALSE(sheet.parse("<worksheet><sheetData><row></worksheet>", "s.xml", nullptr, error));
  CHECK(error.starts_with("damaged XML in s.xml: "));
  CHECK_FALSE(sheet.parse("<worksheet/>", "s.xml", nullptr, error));
  CHECK(error == "damaged XML in s.xml: no sheetData");
}

TEST_CASE("an unwritten sheet is saved byte for byte") {
  const std::string rows = "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>";
  CHECK(sheet_of(rows).serialize() == kHead + rows + kTail);
}

TEST_CASE("writing into a cell keeps its style and replaces its formula and type") {
  Worksheet sheet = sheet_of(
      "<row r=\"6\" spans=\"1:10\" ht=\"15\"><c r=\"D6\" s=\"6\" t=\"s\" "
      "cm=\"1\"><f>X</f><v>0</v></c>"
      "<c r=\"E6\" s=\"7\"><v>5</v></c></row><row r=\"7\"><c r=\"D7\" s=\"2\"/></row>");
  sheet.set_number(5, 3, 930);
  CHECK(sheet.number(5, 3) == 930);
  const std::string xml = sheet.serialize();
  CHECK(xml ==
        kHead +
            "<row r=\"6\" ht=\"15\"><c r=\"D6\" s=\"6\"><v>930</v></c>"
            "<c r=\"E6\" s=\"7\"><v>5</v></c></row><row r=\"7\"><c r=\"D7\" s=\"2\"/></row>" +
            kTail);
}

TEST_CASE("new cells and rows go in order around the original ones") {
  Worksheet sheet = sheet_of(
      "<row r=\"2\"><c r=\"B2\"><v>1</v></c><c r=\"D2\"><v>2</v></c></row>\n"
      "<row r=\"5\" s=\"3\" customFormat=\"1\"/>\n<row r=\"8\"><c r=\"A8\"><v>3</v></c></row>");
  sheet.set_text(1, 2, "C2");
  sheet.set_number(1, 0, 1);
  sheet.set_number(1, 6, 7);
  sheet.set_text(0, 0, "top");
  sheet.set_number(4, 1, 4);
  sheet.set_number(6, 0, 6);
  sheet.set_number(20, 2, 21);
  CHECK(sheet.serialize() ==
        kHead +
            "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>top</t></is></c></row>"
            "<row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"B2\"><v>1</v></c>"
            "<c r=\"C2\" t=\"inlineStr\"><is><t>C2</t></is></c><c r=\"D2\"><v>2</v></c>"
            "<c r=\"G2\"><v>7</v></c></row>\n"
            "<row r=\"5\" s=\"3\" customFormat=\"1\"><c r=\"B5\"><v>4</v></c></row>\n"
            "<row r=\"7\"><c r=\"A7\"><v>6</v></c></row>"
            "<row r=\"8\"><c r=\"A8\"><v>3</v></c></row>"
            "<row r=\"21\"><c r=\"C21\"><v>21</v></c></row>" +
            kTail);
  CHECK(sheet.last_row() == 21);
}

TEST_CASE("an empty sheetData element receives rows") {
  Worksheet sheet;
  std::string error;
  REQUIRE(sheet.parse("<x:worksheet xmlns:x=\"m\"><x:sheetData/><x:pageMargins/></x:worksheet>",
                      "s.xml", nullptr, error));
  sheet.set_number(0, 0, 0.1);
  CHECK(sheet.serialize() ==
        "<x:worksheet xmlns:x=\"m\"><x:sheetData><x:row r=\"1\"><x:c r=\"A1\"><x:v>0.1</x:v>"
        "</x:c></x:row></x:sheetData><x:pageMargins/></x:worksheet>");
}

TEST_CASE("texts split by comments or CDATA are read whole") {
  const Worksheet sheet = sheet_of(
      "<!-- made by hand --><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>K1<!-- x -->A"
      "<![CDATA[<B>]]></t></is></c><c r=\"B1\"><v>9<?pi?>3</v></c></row>");
  CHECK(text_or_none(sheet, 0, 0) == "[K1A<B>]");
  CHECK(sheet.number(0, 1) == 93);
}

TEST_CASE("written texts are escaped and read back the same") {
  Worksheet sheet = sheet_of("<row r=\"1\"><c r=\"A1\" s=\"1\"/></row>");
  const std::string call = "K1<&>\"AB\" _x0041_\x01";
  sheet.set_text(0, 0, call);
  CHECK(text_or_none(sheet, 0, 0) == bracketed(call));
  CHECK(text_or_none(reparsed(sheet), 0, 0) == bracketed(call));
  sheet.set_text(0, 1, " padded ");
  CHECK(sheet.serialize().find("<t xml:space=\"preserve\"> padded </t>") != std::string::npos);
}

TEST_CASE("a text written over a text keeps the first view's bytes until then") {
  Worksheet sheet =
      sheet_of("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>old</t></is></c></row>");
  const auto before = sheet.text(0, 0);
  sheet.set_text(0, 1, "neighbour");
  CHECK(*before == "old");
  sheet.set_text(0, 0, "new");
  CHECK(*sheet.text(0, 0) == "new");
}

TEST_CASE("numbers are written so they read back exactly") {
  Worksheet sheet = sheet_of("");
  const double values[] = {0, 930, -2.5, 0.1, 1e-300, 123456789012345678.0, 2024};
  for (int i = 0; i < 7; ++i) sheet.set_number(i, 0, values[i]);
  const Worksheet again = reparsed(sheet);
  for (int i = 0; i < 7; ++i) CHECK(again.number(i, 0) == values[i]);
}

TEST_CASE("a value the format cannot hold leaves the cell empty, and bad positions are ignored") {
  Worksheet sheet = sheet_of("<row r=\"1\"><c r=\"A1\" s=\"2\"><v>1</v></c></row>");
  sheet.set_number(0, 0, std::numeric_limits<double>::quiet_NaN());
  sheet.set_number(-1, 0, 1);
  sheet.set_text(0, 16384, "x");
  sheet.set_text(1048576, 0, "x");
  CHECK(sheet.number(0, 0) == 0);
  CHECK(sheet.serialize() == kHead + "<row r=\"1\"><c r=\"A1\" s=\"2\"/></row>" + kTail);
}

TEST_CASE("overwriting the master of a shared formula hands the formula on") {
  Worksheet sheet = sheet_of(
      "<row r=\"6\"><c r=\"K6\" s=\"3\"><f t=\"shared\" ref=\"K6:K8\" si=\"0\">D6*2&amp;\"x\"</f>"
      "<v>2</v></c></row><row r=\"7\"><c r=\"K7\"><f t=\"shared\" si=\"0\"/><v>4</v></c></row>"
      "<row r=\"8\"><c r=\"K8\"><f t=\"shared\" si=\"0\"/><v>6</v></c></row>");
  sheet.set_number(5, 10, 99);
  CHECK(sheet.serialize() ==
        kHead +
            "<row r=\"6\"><c r=\"K6\" s=\"3\"><v>99</v></c></row><row r=\"7\"><c r=\"K7\">"
            "<f t=\"shared\" ref=\"K7:K8\" si=\"0\">D7*2&amp;&quot;x&quot;</f><v>4</v></c></row>"
            "<row r=\"8\"><c r=\"K8\"><f t=\"shared\" si=\"0\"/><v>6</v></c></row>" +
            kTail);
  sheet.set_number(6, 10, 98);  // the new master, overwritten in turn
  sheet.set_number(4, 10, 1);   // a cell of no group
  const std::string xml = sheet.serialize();
  CHECK(xml.find("<c r=\"K8\"><f t=\"shared\" ref=\"K8\" "
                 "si=\"0\">D8*2&amp;&quot;x&quot;</f><v>6</v></c>") != std::string::npos);
  sheet.set_number(7, 10, 97);  // the last one: the group is gone
  CHECK(sheet.serialize().find("<f") == std::string::npos);
}

TEST_CASE("overwriting a cell that uses a shared formula leaves the master alone") {
  Worksheet sheet = sheet_of(
      "<row r=\"1\"><c r=\"A1\"><f t=\"shared\" ref=\"A1:B1\" si=\"3\">X1</f><v>0</v></c>"
      "<c r=\"B1\"><f t=\"shared\" si=\"3\"/><v>0</v></c></row>");
  sheet.set_text(0, 1, "b");
  CHECK(sheet.serialize() ==
        kHead +
            "<row r=\"1\"><c r=\"A1\"><f t=\"shared\" ref=\"A1:B1\" "
            "si=\"3\">X1</f><v>0</v></c><c r=\"B1\" t=\"inlineStr\"><is><t>b</t>"
            "</is></c></row>" +
            kTail);
}
