// Writing a worksheet part back: the original text, with the rows that hold written cells
// written anew. Cells the caller did not write are copied byte for byte, also inside those rows.
#include <algorithm>
#include <charconv>
#include <functional>

#include "xlsx/cell_ref.h"
#include "xlsx/worksheet.h"
#include "xlsx/xml_scan.h"

namespace tarvenix::xlsx {

namespace {

// Appends the attributes of the start tag `tag` except those named in `dropped`.
void append_attributes(std::string& out, std::string_view tag,
                       std::initializer_list<std::string_view> dropped) {
  for_each_attribute(tag, [&](const RawAttribute& a) {
    if (std::find(dropped.begin(), dropped.end(), a.name) != dropped.end()) return;
    out += ' ';
    out += a.text;
  });
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

void Worksheet::open_tag(std::string& out, std::string_view local) const {
  out += '<';
  out += prefix_;
  out += local;
}

void Worksheet::close_tag(std::string& out, std::string_view local) const {
  out += "</";
  out += prefix_;
  out += local;
  out += '>';
}

std::string Worksheet::serialize() const {
  std::string all;
  serialize([&all](std::string_view piece) { all.append(piece); });
  return all;
}

void Worksheet::serialize(const std::function<void(std::string_view)>& emit) const {
  if (!changed_) {
    emit(xml_);
    return;
  }
  // Written rows collect in a buffer that goes out in pieces of about this size; long runs of
  // unchanged text go out straight from the original.
  constexpr size_t piece_size = 32768;
  const std::string_view original(xml_);
  std::string out;
  out.reserve(piece_size + piece_size / 4);
  auto copy = [&](size_t from, size_t to) {
    if (to - from < piece_size) {
      out.append(original.substr(from, to - from));
      return;
    }
    emit(out);
    out.clear();
    emit(original.substr(from, to - from));
  };
  const size_t tag_end = start_tag_end(original, data_begin_);
  const bool empty_element = original[tag_end - 2] == '/';
  if (empty_element) {
    copy(0, data_begin_);
    open_tag(out, "sheetData>");
  } else {
    copy(0, tag_end);
  }
  // A new row goes before the next original row, or after the last one: that offset for each
  // row, found back to front.
  size_t after_last = tag_end;
  for (auto r = rows_.rbegin(); r != rows_.rend(); ++r) {
    if (r->begin != std::string::npos) {
      after_last = r->end;
      break;
    }
  }
  std::vector<size_t> next_original(rows_.size() + 1, after_last);
  for (size_t i = rows_.size(); i-- > 0;) {
    next_original[i] = rows_[i].begin != std::string::npos ? rows_[i].begin : next_original[i + 1];
  }
  size_t cursor = tag_end;  // where the original text is taken from next
  for (size_t i = 0; i < rows_.size(); ++i) {
    const Row& row = rows_[i];
    if (!row.changed) continue;  // copied with the text before the next change
    copy(cursor, next_original[i]);
    cursor = append_row(out, row, next_original[i]);
    if (out.size() >= piece_size) {
      emit(out);
      out.clear();
    }
  }
  if (empty_element) close_tag(out, "sheetData");
  copy(cursor, original.size());
  emit(out);
}

size_t Worksheet::append_row(std::string& out, const Row& row, size_t here) const {
  size_t cursor = std::string::npos;  // where the original row's content continues
  open_tag(out, "row");
  if (row.begin == std::string::npos) {
    out += " r=\"";
    append_number(out, row.index + 1);
    out += '"';
  } else {
    const size_t tag_end = start_tag_end(xml_, row.begin);
    // spans is only a loading hint and would be stale after new cells.
    append_attributes(out, std::string_view(xml_).substr(row.begin, tag_end - row.begin),
                      {"spans"});
    if (xml_[tag_end - 2] != '/') cursor = tag_end;
  }
  out += '>';
  for (const Cell& cell : row.cells) {
    const bool original = cell.begin != std::string::npos;
    // Original cells exist only in rows that were open tags, so cursor is set for them.
    if (original && !cell.written) {
      const size_t end = element_end(xml_, cell.begin);
      if (cell.takes_formula) {
        out.append(xml_, cursor, cell.begin - cursor);
        append_formula_master(out, cell, end);
      } else {
        out.append(xml_, cursor, end - cursor);
      }
      cursor = end;
      continue;
    }
    if (original) {
      out.append(xml_, cursor, cell.begin - cursor);
      cursor = element_end(xml_, cell.begin);
    }
    append_cell(out, row, cell);
  }
  if (cursor == std::string::npos) {
    close_tag(out, "row");
    return row.begin == std::string::npos ? here : row.end;
  }
  out.append(xml_, cursor, row.end - cursor);
  return row.end;
}

// The original cell ending at `end`, with its <f> now holding its group's shared formula.
void Worksheet::append_formula_master(std::string& out, const Cell& cell, size_t end) const {
  size_t f_begin = end;
  size_t f_end = end;
  for_each_child(xml_, start_tag_end(xml_, cell.begin), [&](size_t begin, size_t stop) {
    if (local_tag_name(xml_, begin) != "f") return true;
    f_begin = begin;
    f_end = stop;
    return false;
  });
  const SharedFormula& formula = shared_.at(cell.shared);
  out.append(xml_, cell.begin, f_begin - cell.begin);
  open_tag(out, "f t=\"shared\" ref=\"");
  out += formula.ref;
  out += "\" si=\"";
  out += std::to_string(cell.shared);
  out += "\">";
  append_markup_escaped(out, formula.text);
  close_tag(out, "f");
  out.append(xml_, f_end, end - f_end);
}

void Worksheet::append_cell(std::string& out, const Row& row, const Cell& cell) const {
  open_tag(out, "c r=\"");
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
      out += '>';
      open_tag(out, "v>");
      append_number(out, cell.number);
      close_tag(out, "v");
      break;
    case CellKind::text:
      out += " t=\"inlineStr\">";
      open_tag(out, "is>");
      open_tag(out, needs_space_preserved(cell.text) ? "t xml:space=\"preserve\">" : "t>");
      append_escaped(out, cell.text);
      close_tag(out, "t");
      close_tag(out, "is");
      break;
  }
  close_tag(out, "c");
}

}  // namespace tarvenix::xlsx
