// Writing a worksheet part back: the original text, with the rows that hold written cells
// written anew. Cells the caller did not write are copied byte for byte, also inside those rows.
#include <algorithm>
#include <charconv>

#include "xlsx/cell_ref.h"
#include "xlsx/worksheet.h"
#include "xlsx/xml_scan.h"

namespace tarvenix::xlsx {

namespace {

// Appends the attributes of the start tag `tag` except those named in `dropped`.
void append_attributes(std::string& out, std::string_view tag,
                       std::initializer_list<std::string_view> dropped) {
  for (const RawAttribute& a : raw_attributes(tag)) {
    if (std::find(dropped.begin(), dropped.end(), a.name) != dropped.end()) continue;
    out += ' ';
    out += a.text;
  }
}

void append_number(std::string& out, double value) {
  char digits[32];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, end);
}

bool needs_space_preserved(std::string_view text) {
  auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
  return !text.empty() && (space(text.front()) || space(text.back()));
}

}  // namespace

std::string Worksheet::serialize() const {
  if (!changed_) return xml_;
  std::string out;
  out.reserve(xml_.size() + xml_.size() / 4);
  const size_t tag_end = start_tag_end(xml_, data_begin_);
  const bool empty_element = xml_[tag_end - 2] == '/';
  // Where text is taken from next, and where new rows go when no original row follows them.
  size_t cursor = tag_end;
  size_t closing = tag_end;
  if (empty_element) {
    out.append(xml_, 0, data_begin_);
    out += '<' + prefix_ + "sheetData>";
  } else {
    out.append(xml_, 0, tag_end);
    closing = xml_.rfind('<', element_end(xml_, data_begin_) - 1);
  }
  // A new row goes before the next original row: its offset for each row, found back to front.
  std::vector<size_t> next_original(rows_.size() + 1, closing);
  for (size_t i = rows_.size(); i-- > 0;) {
    next_original[i] = rows_[i].begin != std::string::npos ? rows_[i].begin : next_original[i + 1];
  }
  for (size_t i = 0; i < rows_.size(); ++i) {
    const Row& row = rows_[i];
    if (!row.changed) continue;  // copied with the text before the next change
    out.append(xml_, cursor, next_original[i] - cursor);
    cursor = next_original[i];
    if (row.begin != std::string::npos) cursor = element_end(xml_, row.begin);
    append_row(out, row);
  }
  if (empty_element) {
    out += "</" + prefix_ + "sheetData>";
  }
  out.append(xml_, cursor);
  return out;
}

void Worksheet::append_row(std::string& out, const Row& row) const {
  const std::string name = prefix_ + "row";
  size_t cursor = std::string::npos;  // where the original row's content continues
  bool self_closing = true;
  if (row.begin == std::string::npos) {
    out += '<' + name + " r=\"";
    append_number(out, row.index + 1);
    out += '"';
  } else {
    const size_t tag_end = start_tag_end(xml_, row.begin);
    // spans is only a loading hint and would be stale after new cells.
    out += '<' + name;
    append_attributes(out, std::string_view(xml_).substr(row.begin, tag_end - row.begin),
                      {"spans"});
    self_closing = xml_[tag_end - 2] == '/';
    if (!self_closing) cursor = tag_end;
  }
  out += '>';
  for (const Cell& cell : row.cells) {
    const bool original = cell.begin != std::string::npos;
    // Original cells exist only in rows that were written out as open tags, so cursor is set.
    if (original && !cell.written) {
      const size_t end = element_end(xml_, cell.begin);
      out.append(xml_, cursor, end - cursor);
      cursor = end;
      continue;
    }
    if (original) {
      out.append(xml_, cursor, cell.begin - cursor);
      cursor = element_end(xml_, cell.begin);
    }
    append_cell(out, row, cell);
  }
  if (self_closing) {
    out += "</" + name + '>';
  } else {
    out.append(xml_, cursor, element_end(xml_, row.begin) - cursor);
  }
}

void Worksheet::append_cell(std::string& out, const Row& row, const Cell& cell) const {
  const std::string name = prefix_ + "c";
  out += '<' + name + " r=\"";
  append_cell_ref(out, row.index, cell.col);
  out += '"';
  if (cell.begin != std::string::npos) {
    const size_t tag_end = start_tag_end(xml_, cell.begin);
    // The type and the metadata of the old value go; the style (s) and the rest stay.
    append_attributes(out, std::string_view(xml_).substr(cell.begin, tag_end - cell.begin),
                      {"r", "t", "cm", "vm"});
  }
  switch (cell.kind) {
    case CellKind::empty:
      out += "/>";
      return;
    case CellKind::number:
      out += "><" + prefix_ + "v>";
      append_number(out, cell.number);
      out += "</" + prefix_ + "v>";
      break;
    case CellKind::text:
      out += " t=\"inlineStr\"><" + prefix_ + "is><" + prefix_ + "t";
      if (needs_space_preserved(cell.text)) out += " xml:space=\"preserve\"";
      out += '>';
      append_escaped(out, cell.text);
      out += "</" + prefix_ + "t></" + prefix_ + "is>";
      break;
  }
  out += "</" + name + '>';
}

}  // namespace tarvenix::xlsx
