// Reading a worksheet's cells and recording writes.
#include "xlsx/worksheet.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "xlsx/cell_ref.h"
#include "xlsx/formula_shift.h"
#include "xlsx/xml_scan.h"

namespace tarvenix::xlsx {

namespace {

bool parse_double(std::string_view text, double& value) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\n')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\n')) text.remove_suffix(1);
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

template <typename Item>
auto lower_bound_by(std::vector<Item>& items, int key, int Item::*field) {
  return std::lower_bound(items.begin(), items.end(), key,
                          [field](const Item& item, int k) { return item.*field < k; });
}

template <typename Item>
auto lower_bound_by(const std::vector<Item>& items, int key, int Item::*field) {
  return std::lower_bound(items.begin(), items.end(), key,
                          [field](const Item& item, int k) { return item.*field < k; });
}

}  // namespace

Result<> Worksheet::parse(std::string xml, std::string_view part, const SharedStrings* strings) {
  xml_ = std::move(xml);
  part_ = part;
  rows_.clear();
  owned_texts_.clear();
  shared_.clear();
  changed_ = false;
  size_t content_begin = 0;
  bool empty = false;
  if (!find_top_child(xml_, "sheetData", data_begin_, content_begin, empty)) {
    XmlDocument whole;  // tells damaged XML from a sheet without sheetData
    const Result<> parsed = whole.parse(xml_, part_);
    return parsed.ok() ? damaged_xml(part_, "no sheetData") : parsed;
  }
  size_t content_end = content_begin;
  if (!empty) {
    const Result<size_t> rows_end = read_rows(content_begin, strings);
    if (!rows_end.ok()) return rows_end.failure();
    content_end = rows_end.value();
  }
  // The part without its rows is parsed whole: it must be well formed too.
  XmlDocument outline;
  const Result<> parsed =
      outline.parse(xml_.substr(0, content_begin) + xml_.substr(content_end), part_);
  if (!parsed.ok()) return parsed;
  const XmlNode* sheet_data = first_child(outline.root(), "sheetData");
  if (sheet_data == nullptr || outline.offset_of(sheet_data) != data_begin_) {
    return damaged_xml(part_, "no sheetData");
  }
  const std::string_view name(sheet_data->name(), sheet_data->name_size());
  prefix_ = name.substr(0, name.size() - local_name(sheet_data).size());
  return {};
}

Result<size_t> Worksheet::read_rows(size_t content_begin, const SharedStrings* strings) {
  int previous = -1;
  XmlElementParser parser;
  std::optional<Failure> failure;
  const size_t content_end = for_each_child(xml_, content_begin, [&](size_t begin, size_t end) {
    const Result<XmlNode*> r =
        parser.parse(std::string_view(xml_).substr(begin, end - begin), part_);
    if (!r.ok()) {
      failure = r.failure();
      return false;
    }
    if (local_name(r.value()) != "row") return true;
    const XmlAttribute* number = find_attribute(r.value(), "r");
    Row row;
    row.index = number ? parse_row_number({number->value(), number->value_size()}) : previous + 1;
    if (row.index <= previous || row.index >= max_rows) {
      failure = damaged_xml(part_, "rows out of order");
      return false;
    }
    row.begin = begin;
    row.end = end;
    const Result<> cells = read_cells(parser, r.value(), row, strings);
    if (!cells.ok()) {
      failure = cells.failure();
      return false;
    }
    previous = row.index;
    rows_.push_back(std::move(row));
    return true;
  });
  if (failure) return *failure;
  if (content_end == std::string::npos) {
    return damaged_xml(part_, "unbalanced or too deeply nested tags");
  }
  return content_end;
}

Result<> Worksheet::read_cells(const XmlElementParser& parser, XmlNode* row_node, Row& row,
                               const SharedStrings* strings) {
  int previous = -1;
  for (XmlNode* c = first_child(row_node, "c"); c != nullptr; c = next_sibling(c, "c")) {
    const XmlAttribute* ref = find_attribute(c, "r");
    Cell cell;
    cell.col = ref ? parse_cell_ref({ref->value(), ref->value_size()}).col : previous + 1;
    if (cell.col <= previous || cell.col >= max_columns) {
      return damaged_xml(part_, "cells out of order");
    }
    cell.begin = row.begin + parser.offset_of(c);
    read_value(c, cell, strings);
    read_formula(c, row.index, cell);
    previous = cell.col;
    row.cells.push_back(cell);
  }
  return {};
}

void Worksheet::read_value(XmlNode* c, Cell& cell, const SharedStrings* strings) {
  const std::string_view type = attribute_value(c, "t");
  XmlNode* v = first_child(c, "v");
  if (type == "inlineStr") {
    XmlNode* is = first_child(c, "is");
    if (is == nullptr) return;
    cell.kind = CellKind::text;
    if (XmlNode* t = first_child(is, "t")) {
      cell.text = owned_texts_.emplace_back(element_text(t));
      return;
    }
    std::string& runs = owned_texts_.emplace_back();
    for (XmlNode* r = first_child(is, "r"); r != nullptr; r = next_sibling(r, "r")) {
      if (XmlNode* t = first_child(r, "t")) runs += element_text(t);
    }
    cell.text = runs;
    return;
  }
  if (v == nullptr) return;
  const std::string_view value = element_text(v);
  if (type == "s") {
    size_t index = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), index);
    const std::string_view* text = strings && ec == std::errc() ? strings->at(index) : nullptr;
    if (text != nullptr) {
      cell.kind = CellKind::text;
      cell.text = *text;
    }
  } else if (type == "str" || type == "d") {
    cell.kind = CellKind::text;
    cell.text = owned_texts_.emplace_back(value);
  } else if (type == "b") {
    cell.kind = CellKind::number;
    cell.number = value == "1" ? 1 : 0;
  } else if (type.empty() || type == "n") {
    if (parse_double(value, cell.number)) cell.kind = CellKind::number;
  }
}

void Worksheet::read_formula(XmlNode* c, int row, Cell& cell) {
  XmlNode* f = first_child(c, "f");
  if (f == nullptr || attribute_value(f, "t") != "shared") return;
  const std::string_view si = attribute_value(f, "si");
  int32_t group = -1;
  const auto [end, ec] = std::from_chars(si.data(), si.data() + si.size(), group);
  if (ec != std::errc() || group < 0) return;
  cell.shared = group;
  if (find_attribute(f, "ref") != nullptr) {
    shared_[group] = {row, cell.col, std::string(element_text(f, false)), {}};
  }
}

// The master of a shared formula is being overwritten: the first other cell of its group (in
// row order) becomes the master, with the formula moved to it and the range of what is left.
void Worksheet::hand_on_formula(int row, int col, int32_t group) {
  const auto master = shared_.find(group);
  if (master == shared_.end() || master->second.row != row || master->second.col != col) return;
  Cell* next = nullptr;
  Row* next_row = nullptr;
  int top = max_rows, left = max_columns, bottom = -1, right = -1;
  for (Row& r : rows_) {
    for (Cell& cell : r.cells) {
      if (cell.shared != group) continue;
      if (next == nullptr) next = &cell, next_row = &r;
      top = std::min(top, r.index), bottom = std::max(bottom, r.index);
      left = std::min(left, cell.col), right = std::max(right, cell.col);
    }
  }
  if (next == nullptr) {
    shared_.erase(master);
    return;
  }
  SharedFormula& formula = master->second;
  formula.text = shift_formula(formula.text, next_row->index - row, next->col - col);
  formula.row = next_row->index;
  formula.col = next->col;
  formula.ref.clear();
  append_cell_ref(formula.ref, top, left);
  if (bottom != top || right != left) {
    formula.ref += ':';
    append_cell_ref(formula.ref, bottom, right);
  }
  next->takes_formula = true;
  next_row->changed = true;
}

const Cell* Worksheet::find(int row, int col) const {
  const auto r = lower_bound_by(rows_, row, &Row::index);
  if (r == rows_.end() || r->index != row) return nullptr;
  const auto c = lower_bound_by(r->cells, col, &Cell::col);
  return c == r->cells.end() || c->col != col ? nullptr : &*c;
}

std::optional<std::string_view> Worksheet::text(int row, int col) const {
  const Cell* cell = find(row, col);
  if (cell == nullptr || cell->kind != CellKind::text) return std::nullopt;
  return cell->text;
}

double Worksheet::number(int row, int col) const {
  const Cell* cell = find(row, col);
  return cell != nullptr && cell->kind == CellKind::number ? cell->number : 0;
}

int Worksheet::last_row() const {
  for (auto r = rows_.rbegin(); r != rows_.rend(); ++r) {
    if (!r->cells.empty()) return r->index + 1;
  }
  return 0;
}

Cell* Worksheet::cell_for_writing(int row, int col) {
  if (row < 0 || row >= max_rows || col < 0 || col >= max_columns) return nullptr;
  auto r = lower_bound_by(rows_, row, &Row::index);
  if (r == rows_.end() || r->index != row) {
    Row created;
    created.index = row;
    created.begin = std::string::npos;
    r = rows_.insert(r, std::move(created));
  }
  auto c = lower_bound_by(r->cells, col, &Cell::col);
  if (c == r->cells.end() || c->col != col) {
    Cell created;
    created.col = col;
    created.begin = std::string::npos;
    c = r->cells.insert(c, created);
  }
  r->changed = true;
  changed_ = true;
  c->written = true;
  c->takes_formula = false;
  if (c->shared >= 0) {
    const int32_t group = c->shared;
    c->shared = -1;
    Cell* const written = &*c;  // handing on changes no row's cells, so this stays valid
    hand_on_formula(row, col, group);
    return written;
  }
  c->text = {};
  c->number = 0;
  return &*c;
}

void Worksheet::set_number(int row, int col, double value) {
  Cell* cell = cell_for_writing(row, col);
  if (cell == nullptr) return;
  // The format has no way to store an infinity or NaN; such a value leaves the cell empty.
  cell->kind = std::isfinite(value) ? CellKind::number : CellKind::empty;
  if (cell->kind == CellKind::number) cell->number = value;
}

void Worksheet::set_text(int row, int col, std::string_view text) {
  Cell* cell = cell_for_writing(row, col);
  if (cell == nullptr) return;
  cell->kind = CellKind::text;
  cell->text = owned_texts_.emplace_back(text);
}

}  // namespace tarvenix::xlsx
