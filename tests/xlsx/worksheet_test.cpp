// The worksheet model: reading every kind of cell, and writes that change only what they touch.
#include <doctest/doctest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "xlsx/shared_strings.h"
#include "xlsx/worksheet.h"

using namespace tarvenix;
using namespace tarvenix::xlsx;

namespace {

const std::string sheet_head =
    "<?xml version=\"1.0\"?>\n<worksheet xmlns=\"m\"><dimension ref=\"A1:C9\"/><sheetData>";
const std::string sheet_tail =
    "</sheetData><mergeCells count=\"1\"><mergeCell ref=\"A1:B1\"/></mergeCells></worksheet>";

Worksheet parsed(const std::string& xml, const SharedStrings* strings = nullptr) {
  Worksheet sheet;
  const Result<> parsed = sheet.parse(xml, "sheet.xml", strings);
  REQUIRE_MESSAGE(parsed.ok(), parsed.reason());
  return sheet;
}

Worksheet sheet_of(const std::string& rows, const SharedStrings* strings = nullptr) {
  return parsed(sheet_head + rows + sheet_tail, strings);
}

// The first `rows` x `cols` cells as the operator reads them: "[text]" for a text, the number
// when not 0, "." for neither; rows end with '|', then the last row.
std::string cells(const Worksheet& sheet, int rows, int cols) {
  std::string out;
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < cols; ++col) {
      const auto text = sheet.text(row, col);
      char number[32] = "";
      if (sheet.number(row, col) != 0)
        std::snprintf(number, sizeof number, "%g", sheet.number(row, col));
      if (text)
        out.append("[").append(*text).append("]").append(number);
      else
        out += *number ? number : ".";
      out += col + 1 < cols ? " " : "|";
    }
  }
  return out + "last " + std::to_string(sheet.last_row());
}

}  // namespace

TEST_CASE("every kind of cell reads as the operator sees it") {
  SharedStrings strings;
  REQUIRE(strings
              .parse("<sst><si><t>plain</t></si><si><r><t>ri</t></r><rPh><t>no</t></rPh>"
                     "<r><t>ch</t></r></si><si><t>a_x000D_b</t></si></sst>",
                     "sst.xml")
              .ok());
  // clang-format off
  const struct { const char* rows; int height, width; const char* cells; } cases[] = {
      // D1's index is past the table; D2 and E2 are empty; F3 is no number
      {R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c><c r="D1" t="s"><v>9</v></c></row>)"
       R"(<row r="2"><c r="A2" t="inlineStr"><is><t>in &amp; line</t></is></c><c r="B2" t="inlineStr"><is><r><t>one </t></r><r><t>two</t></r></is></c>)"
       R"(<c r="C2" t="str"><f>"x"</f><v>formula text</v></c><c r="D2" s="4"/><c r="E2" s="4" t="n"></c></row><row r="3"><c r="A3"><v>930</v></c>)"
       R"(<c r="B3" t="n"><v>-1.5E2</v></c><c r="C3" t="b"><v>1</v></c><c r="D3" t="e"><v>#DIV/0!</v></c><c r="E3"><f>A3*2</f><v>1860</v></c><c r="F3"><v>12abc</v></c></row>)",
       3, 6, "[plain] [rich] [a\rb] . . .|[in & line] [one two] [formula text] . . .|930 -150 1 . 1860 .|last 3"},
      // cells and rows without a reference follow the one before
      {R"(<row r="3"><c r="B3"><v>1</v></c><c><v>2</v></c></row><row><c><v>3</v></c></row>)", 4, 3, ". . .|. . .|. 1 2|3 . .|last 4"},
      // the last row is the one after the last row holding a cell
      {"", 0, 0, "last 0"},
      {R"(<row r="5"><c r="A5" s="1"/></row><row r="9" ht="20"/>)", 0, 0, "last 5"},
      // texts split by comments, CDATA or processing instructions are read whole
      {R"(<!-- made by hand --><row r="1"><c r="A1" t="inlineStr"><is><t>K1<!-- x -->A<![CDATA[<B>]]></t></is></c></row><row r="2"><c r="B2"><v>9<?pi?>3</v></c></row>)", 2, 2, "[K1A<B>] .|. 93|last 2"},
      // clang-format on
  };
  for (const auto& c : cases)
    CHECK_MESSAGE(cells(sheet_of(c.rows, &strings), c.height, c.width) == c.cells, c.rows);
  CHECK_FALSE(sheet_of("").text(40, 40));
}

TEST_CASE("rows or cells out of order, and other damage, are reported") {
  // clang-format off
  const struct { std::string xml; const char* error; } cases[] = {
      {sheet_head + "<row r=\"2\"/><row r=\"1\"/>" + sheet_tail, "rows out of order"},
      {sheet_head + "<row r=\"2\"><c r=\"B2\"/><c r=\"A2\"/></row>" + sheet_tail, "cells out of order"},
      {"<worksheet><sheetData><row></worksheet>", ""},  // the parser's own text
      {"<worksheet/>", "no sheetData"},
  };
  // clang-format on
  for (const auto& c : cases) {
    Worksheet sheet;
    const Result<> parsed = sheet.parse(c.xml, "s.xml", nullptr);
    REQUIRE_FALSE(parsed.ok());
    const std::string& error = parsed.reason();
    CHECK(error.starts_with(std::string("damaged XML in s.xml: ") + c.error));
    if (*c.error != '\0') CHECK(error.ends_with(c.error));
  }
}

TEST_CASE("writes change only the cells they touch, in order around the original ones") {
  // text: null for a number
  // clang-format off
  struct Write { int row, col; const char* text; double number; };
  // clang-format on
  const double nan = std::numeric_limits<double>::quiet_NaN();
  // clang-format off
  const char* const shared_formula = R"(<row r="6"><c r="K6" s="3"><f t="shared" ref="K6:K8" si="0">D6*2&amp;"x"</f><v>2</v></c></row>)"
      R"(<row r="7"><c r="K7"><f t="shared" si="0"/><v>4</v></c></row><row r="8"><c r="K8"><f t="shared" si="0"/><v>6</v></c></row>)";
  // clang-format on
  // saved: null when the rows are saved as read
  // clang-format off
  const struct { const char* what; const char* rows; std::vector<Write> writes; const char* saved; } cases[] = {
      {"an unwritten sheet is saved byte for byte", R"(<row r="1"><c r="A1"><v>1</v></c></row>)", {}, nullptr},
      {"writing into a cell keeps its style and replaces its formula and type", R"(<row r="6" spans="1:10" ht="15"><c r="D6" s="6" t="s" cm="1"><f>X</f><v>0</v></c>)"
       R"(<c r="E6" s="7"><v>5</v></c></row><row r="7"><c r="D7" s="2"/></row>)", {{5, 3, nullptr, 930}},
       R"(<row r="6" ht="15"><c r="D6" s="6"><v>930</v></c><c r="E6" s="7"><v>5</v></c></row><row r="7"><c r="D7" s="2"/></row>)"},
      {"new cells and rows go in order around the original ones",
       "<row r=\"2\"><c r=\"B2\"><v>1</v></c><c r=\"D2\"><v>2</v></c></row>\n<row r=\"5\" s=\"3\" customFormat=\"1\"/>\n<row r=\"8\"><c r=\"A8\"><v>3</v></c></row>",
       {{1, 2, "C2", 0}, {1, 0, nullptr, 1}, {1, 6, nullptr, 7}, {0, 0, "top", 0}, {4, 1, nullptr, 4}, {6, 0, nullptr, 6}, {20, 2, nullptr, 21}},
       "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>top</t></is></c></row><row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"B2\"><v>1</v></c><c r=\"C2\" t=\"inlineStr\"><is><t>C2</t></is></c>"
       "<c r=\"D2\"><v>2</v></c><c r=\"G2\"><v>7</v></c></row>\n<row r=\"5\" s=\"3\" customFormat=\"1\"><c r=\"B5\"><v>4</v></c></row>\n<row r=\"7\"><c r=\"A7\"><v>6</v></c></row>"
       "<row r=\"8\"><c r=\"A8\"><v>3</v></c></row><row r=\"21\"><c r=\"C21\"><v>21</v></c></row>"},
      {"a value the format cannot hold leaves the cell empty, and bad positions are ignored", R"(<row r="1"><c r="A1" s="2"><v>1</v></c></row>)",
       {{0, 0, nullptr, nan}, {-1, 0, nullptr, 1}, {0, 16384, "x", 0}, {1048576, 0, "x", 0}}, R"(<row r="1"><c r="A1" s="2"/></row>)"},
      {"overwriting the master of a shared formula hands the formula on", shared_formula, {{5, 10, nullptr, 99}},
       R"(<row r="6"><c r="K6" s="3"><v>99</v></c></row><row r="7"><c r="K7"><f t="shared" ref="K7:K8" si="0">D7*2&amp;&quot;x&quot;</f><v>4</v></c></row>)"
       R"(<row r="8"><c r="K8"><f t="shared" si="0"/><v>6</v></c></row>)"},
      {"the new master overwritten in turn, and a cell of no group", shared_formula, {{5, 10, nullptr, 99}, {6, 10, nullptr, 98}, {4, 10, nullptr, 1}},
       R"(<row r="5"><c r="K5"><v>1</v></c></row><row r="6"><c r="K6" s="3"><v>99</v></c></row><row r="7"><c r="K7"><v>98</v></c></row>)"
       R"(<row r="8"><c r="K8"><f t="shared" ref="K8" si="0">D8*2&amp;&quot;x&quot;</f><v>6</v></c></row>)"},
      {"the last one of a group: the group is gone", shared_formula, {{5, 10, nullptr, 99}, {6, 10, nullptr, 98}, {7, 10, nullptr, 97}},
       R"(<row r="6"><c r="K6" s="3"><v>99</v></c></row><row r="7"><c r="K7"><v>98</v></c></row><row r="8"><c r="K8"><v>97</v></c></row>)"},
      {"overwriting a cell that uses a shared formula leaves the master alone", R"(<row r="1"><c r="A1"><f t="shared" ref="A1:B1" si="3">X1</f><v>0</v></c><c r="B1"><f t="shared" si="3"/><v>0</v></c></row>)",
       {{0, 1, "b", 0}}, R"(<row r="1"><c r="A1"><f t="shared" ref="A1:B1" si="3">X1</f><v>0</v></c><c r="B1" t="inlineStr"><is><t>b</t></is></c></row>)"},
      // clang-format on
  };
  for (const auto& c : cases) {
    CAPTURE(c.what);
    Worksheet sheet = sheet_of(c.rows);
    for (const Write& w : c.writes) {
      w.text != nullptr ? sheet.set_text(w.row, w.col, w.text)
                        : sheet.set_number(w.row, w.col, w.number);
    }
    CHECK(sheet.serialize() == sheet_head + (c.saved != nullptr ? c.saved : c.rows) + sheet_tail);
  }
  Worksheet sheet = sheet_of("");
  sheet.set_number(20, 2, 21);
  CHECK(cells(sheet, 0, 0) == "last 21");
}

TEST_CASE("an empty sheetData element receives rows") {
  Worksheet sheet =
      parsed("<x:worksheet xmlns:x=\"m\"><x:sheetData/><x:pageMargins/></x:worksheet>");
  sheet.set_number(0, 0, 0.1);
  CHECK(sheet.serialize() ==
        "<x:worksheet xmlns:x=\"m\"><x:sheetData><x:row r=\"1\"><x:c r=\"A1\"><x:v>0.1</x:v>"
        "</x:c></x:row></x:sheetData><x:pageMargins/></x:worksheet>");
}

TEST_CASE("written texts and numbers read back the same, before and after saving") {
  Worksheet sheet =
      sheet_of("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>old</t></is></c></row>");
  const auto before = sheet.text(0, 0);
  sheet.set_text(0, 1, " padded ");
  CHECK(*before == "old");  // the first view's bytes stay until the cell is written
  const std::string call = "K1<&>\"AB\" _x0041_\x01";
  sheet.set_text(0, 0, call);
  CHECK(*sheet.text(0, 0) == call);
  CHECK(sheet.serialize().find("<t xml:space=\"preserve\"> padded </t>") != std::string::npos);
  const double values[] = {0, 930, -2.5, 0.1, 1e-300, 123456789012345678.0, 2024};
  for (int i = 0; i < 7; ++i) sheet.set_number(i + 1, 0, values[i]);
  const Worksheet again = parsed(sheet.serialize());
  CHECK(*again.text(0, 0) == call);
  for (int i = 0; i < 7; ++i) CHECK(again.number(i + 1, 0) == values[i]);
}
