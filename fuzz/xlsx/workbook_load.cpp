// Fuzz target: loading a workbook, reading and writing its first sheet, saving it and loading the
// saved copy, whose written cells must read back as written. An input starting with 'A' is a
// whole archive; any other input is the worksheet XML of a small package built around it, so
// mutations reach the sheet parser without breaking zip checksums.
#include <cstdint>
#include <string>
#include <string_view>

#include "records/sink.h"
#include "xlsx/package.h"
#include "xlsx/zip_writer.h"

using namespace tarvenix;
using namespace tarvenix::xlsx;

namespace {

std::string package_around(std::string_view sheet) {
  // clang-format off
  const std::string parts[][2] = {
      {"[Content_Types].xml", "<Types/>"},
      {"_rels/.rels", R"(<Relationships><Relationship Id="r1" Type="x/officeDocument" Target="xl/workbook.xml"/></Relationships>)"},
      {"xl/workbook.xml", R"(<workbook xmlns:r="r"><sheets><sheet name="S" sheetId="1" r:id="s1"/></sheets></workbook>)"},
      {"xl/_rels/workbook.xml.rels", R"(<Relationships><Relationship Id="s1" Type="x/worksheet" Target="worksheets/s.xml"/>)"
                                     R"(<Relationship Id="s2" Type="x/sharedStrings" Target="/xl/sst.xml"/></Relationships>)"},
      {"xl/sst.xml", "<sst><si><t>one</t></si><si><r><t>t</t></r><r><t>wo</t></r></si></sst>"},
      {"xl/worksheets/s.xml", std::string(sheet)}};
  // clang-format on
  StringSink sink;
  ZipWriter writer(sink);
  for (const auto& [name, content] : parts) writer.add_deflated({.name = name}, content);
  writer.finish();
  return sink.bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const bool archive = !input.empty() && input.front() == 'A';
  Package package;
  const Result<> opened =
      package.open(archive ? std::string(input.substr(1)) : package_around(input));
  if (!opened.ok()) {
    if (opened.reason().empty()) __builtin_trap();
    return 0;
  }
  Worksheet& sheet = package.sheet();
  const int last = sheet.last_row();
  for (int row = 0; row < last && row < 50; ++row) {
    for (int col = 0; col < 10; ++col) {
      if (sheet.text(row, col)) sheet.number(row, col);
    }
  }
  sheet.set_text(1, 6, "K1&<X>\x01_x0041_");
  sheet.set_number(last, 3, 930);
  sheet.set_number(5, 2, 0.1);
  StringSink saved;
  if (!package.save(saved).ok()) __builtin_trap();
  Package again;
  if (!again.open(saved.bytes()).ok()) __builtin_trap();
  const auto text = again.sheet().text(1, 6);
  if (!text || *text != "K1&<X>\x01_x0041_" || again.sheet().number(last, 3) != 930 ||
      again.sheet().number(5, 2) != 0.1) {
    __builtin_trap();
  }
  return 0;
}
