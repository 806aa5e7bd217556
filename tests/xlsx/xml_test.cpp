// Tag scanning, escaping, cell references and relationship targets.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "xlsx/cell_ref.h"
#include "xlsx/formula_shift.h"
#include "xlsx/relationships.h"
#include "xlsx/xml_scan.h"

using namespace tarvenix;
using namespace tarvenix::xlsx;

namespace {

std::string escaped(std::string_view text) {
  std::string out;
  append_escaped(out, text);
  return out;
}

std::string unescaped(std::string text) {
  text.resize(unescape_in_place(text.data(), text.size()));
  return text;
}

std::string ref(int row, int col) {
  std::string out;
  append_cell_ref(out, row, col);
  return out;
}

}  // namespace

TEST_CASE("markup, control characters, stray bytes and literal escapes are escaped and back") {
  // control characters become _xHHHH_, a literal escape is protected, valid UTF-8 is kept
  // and stray bytes are taken as Latin-1
  CHECK(escaped("K1&<A>\"B\"") == "K1&amp;&lt;A&gt;&quot;B&quot;");
  CHECK(escaped("tab\there\nline") == "tab\there\nline");
  CHECK(escaped("a\001b\r") == "a_x0001_b_x000D_");
  CHECK(escaped("_x0041_") == "_x005F_x0041_");
  CHECK(escaped("_x00G1_") == "_x00G1_");
  CHECK(unescaped(escaped("_x0041_ and \x02")) == "_x0041_ and \x02");
  CHECK(escaped("Bj\xc3\xb6rn") == "Bj\xc3\xb6rn");
  CHECK(escaped("Bj\xf6rn") == "Bj\xc3\xb6rn");
  CHECK(escaped("\xe2\x82") == "\xc3\xa2\xc2\x82");              // a cut-off sequence
  CHECK(escaped("\xed\xa0\x80") == "\xc3\xad\xc2\xa0\xc2\x80");  // an encoded surrogate
  CHECK(unescaped("line_x000D_end") == "line\rend");
  CHECK(unescaped("_x00e9_") == "\xc3\xa9");
  CHECK(unescaped("_x20AC_ _x12_") == "\xe2\x82\xac _x12_");
}

TEST_CASE("an element ends after its closing tag, whatever its content holds; its depth") {
  const std::string xml = "<a x='>' y=\"/>\"><!-- </a> --><![CDATA[</a>]]><b/><a></a></a>tail";
  CHECK(element_end(xml, 0) == xml.size() - 4);
  CHECK(element_end("<c r=\"A1\"/><d/>", 0) == 11);
  CHECK(element_end("<a><b>", 0) == std::string::npos);
  CHECK(start_tag_end("<row r=\"1\">", 0) == 11);
  CHECK(element_end("<a><a><a/></a></a>", 0, 1) == std::string::npos);
  CHECK(element_end("<a><a><a/></a></a>", 0, 2) == 18);
  // nesting depth is measured without the parser
  std::string deep;
  for (int i = 0; i < 300; ++i) deep += "<a>";
  CHECK(nesting_deeper_than(deep, 200));
  CHECK_FALSE(nesting_deeper_than("<a><b/><b></b><c><d/></c></a>", 2));
  CHECK(nesting_deeper_than("<a><b><c/></b></a>", 1));
}

TEST_CASE("the children of an element are visited up to its closing tag") {
  const std::string xml = "<d><row/><!-- </x> --><row><c/></row>\n<x:row></x:row></d>";
  std::vector<std::string> seen;
  const size_t end = for_each_child(xml, 3, [&](size_t begin, size_t stop) {
    seen.push_back(xml.substr(begin, stop - begin));
    return true;
  });
  CHECK(end == xml.size() - 4);
  CHECK(seen == std::vector<std::string>{"<row/>", "<row><c/></row>", "<x:row></x:row>"});
  const auto any = [](size_t, size_t) { return true; };
  CHECK(for_each_child("<d><row><c></row></d>", 3, any) == std::string::npos);
  CHECK(for_each_child("<d><row/>", 3, any) == std::string::npos);
}

TEST_CASE("the first child of the document element is found by its local name") {
  size_t begin = 0, content = 0;
  bool empty = true;
  const std::string xml = "<?xml?><w><a><sheetData/></a><x:sheetData>";
  REQUIRE(find_top_child(xml, "sheetData", begin, content, empty));
  CHECK(std::to_string(begin) + " " + std::to_string(content) + " " + std::to_string(empty) ==
        "29 " + std::to_string(xml.size()) + " 0");
  CHECK_FALSE(find_top_child("<w/><sheetData/>", "sheetData", begin, content, empty));
}

TEST_CASE("cell references parse to indexes counted from 0 and are written back the same") {
  CHECK(parse_cell_ref("A1").row == 0);
  CHECK(parse_cell_ref("A1").col == 0);
  CHECK(parse_cell_ref("$B$12").row == 11);
  CHECK(parse_cell_ref("$B$12").col == 1);
  CHECK(parse_cell_ref("XFD1048576").col == 16383);
  CHECK(parse_cell_ref("XFD1048576").row == 1048575);
  for (const char* bad : {"", "A", "1", "A0", "XFE1", "A1048577", "AAAA1", "a1", "A1x", "A-1"})
    CHECK_MESSAGE(parse_cell_ref(bad).col == -1, bad);
  CHECK(parse_row_number("352") == 351);
  CHECK(parse_row_number("0") == -1);
  CHECK(parse_row_number("x") == -1);
  CHECK(ref(0, 0) == "A1");
  CHECK(ref(390, 8) == "I391");
  CHECK(ref(0, 25) == "Z1");
  CHECK(ref(0, 26) == "AA1");
  CHECK(ref(0, 701) == "ZZ1");
  CHECK(ref(0, 702) == "AAA1");
  for (int col : {0, 25, 26, 51, 700, 16383}) CHECK(parse_cell_ref(ref(5, col)).col == col);
}

TEST_CASE("relationship targets resolve against their source part") {
  CHECK(resolve_target("xl/workbook.xml", "worksheets/sheet1.xml") == "xl/worksheets/sheet1.xml");
  CHECK(resolve_target("xl/workbook.xml", "/xl/worksheets/sheet2.xml") ==
        "xl/worksheets/sheet2.xml");
  CHECK(resolve_target("xl/worksheets/sheet1.xml", "../drawings/d.xml") == "xl/drawings/d.xml");
  CHECK(resolve_target("", "xl/workbook.xml") == "xl/workbook.xml");
  CHECK(resolve_target("xl/workbook.xml", "./a/../b.xml") == "xl/b.xml");
  CHECK(relationships_part_of("xl/workbook.xml") == "xl/_rels/workbook.xml.rels");
  CHECK(relationships_part_of("") == "_rels/.rels");
}

TEST_CASE("a moved formula moves its relative references only") {
  CHECK(shift_formula("D6*2", 1, 0) == "D7*2");
  CHECK(shift_formula("SUM($A$1:B2)+$C3+D$4", 2, 1) == "SUM($A$1:C4)+$C5+E$4");
  CHECK(shift_formula("A:A+3:3", 1, 1) == "B:B+4:4");
  CHECK(shift_formula("LOG10(A1)&\"B2 stays\"&'My B2'!B2", 1, 0) ==
        "LOG10(A2)&\"B2 stays\"&'My B2'!B3");
  CHECK(shift_formula("Sheet2!XFD1+Table1[[#This Row],[B2]]", 0, 1) ==
        "Sheet2!#REF!+Table1[[#This Row],[B2]]");
  CHECK(shift_formula("A1", -1, 0) == "#REF!");
  CHECK(shift_formula("TRUE+1.5E3+Rate_2024", 5, 5) == "TRUE+1.5E3+Rate_2024");
}
