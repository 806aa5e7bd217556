// Reading a worksheet's cells and recording writes.
#include "xlsx/worksheet.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "xlsx/cell_ref.h"

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

bool Worksheet::parse(std::string xml, std::string_view part, const SharedStrings* strings,
                      std::string& error) {
  xml_ = std::move(xml);
  part_ = part;
  rows_.clear();
  owned_texts_.clear();
  changed_ = false;
  if (!document_.parse(xml_, part, error)) return false;
  XmlNode* sheet_data = first_child(document_.root(), "sheetData");
  if (sheet_data == nullptr) {
    error = "damaged XML in " + part_ + ": no sheetData";
    return false;
  }
  const std::string_view name(sheet_data->name(), sheet_data->name_size());
  prefix_ = name.substr(0, name.size() - local_name(sheet_data).size());
  data_begin_ = document_.offset_of(sheet_data);
  return read_rows(sheet_data, strings, error);
}

bool Worksheet::read_rows(XmlNode* sheet_data, const SharedStrings* strings, std::string& error) {
  int previous = -1;
  for (XmlNode* r = first_child(sheet_data, "row"); r != nullptr; r = next_sibling(r, "row")) {
    const XmlAttribute* number = find_attribute(r, "r");
    Row row;
    row.index = number ? parse_row_number({number->value(), number->value_size()}) : previous + 1;
    if (row.index <= previous || row.index >= kMaxRows) {
      error = "damaged XML in " + part_ + ": rows out of order";
      return false;
    }
    row.begin = document_.offset_of(r);
    if (!read_cells(r, row, strings, error)) return false;
    previous = row.index;
    rows_.push_back(std::move(row));
  }
  return true;
}

bool Worksheet::read_cells(XmlNode* row_node, Row& row, const SharedStrings* strings,
                           std::string& error) {
  int previous = -1;
  for (XmlNode* c = first_child(row_node, "c"); c != nullptr; c = next_sibling(c, "c")) {
    const XmlAttribute* ref = find_attribute(c, "r");
    Cell cell;
    cell.col = ref ? parse_cell_ref({ref->value(), ref->value_size()}).col : previous + 1;
    if (cell.col <= previous || cell.col >= kMaxColumns) {
      error = "damaged XML in " + part_ + ": cells out of order";
      return false;
    }
    cell.begin = document_.offset_of(c);
    read_value(c, cell, strings);
    previous = cell.col;
    row.cells.push_back(cell);
  }
  return true;
}

void Worksheet::read_value(XmlNode* c, Cell& cell, const SharedStrings* strings) {
  const std::string_view type = attribute_value(c, "t");
  XmlNode* v = first_child(c, "v");
  if (type == "inlineStr") {
    XmlNode* is = first_child(c, "is");
    if (is == nullptr) return;
    cell.kind = CellKind::text;
    if (XmlNode* t = first_child(is, "t")) {
      cell.text = element_text(t);
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
    cell.text = value;
  } else if (type == "b") {
    cell.kind = CellKind::number;
    cell.number = value == "1" ? 1 : 0;
  } else if (type.empty() || type == "n") {
    if (parse_double(value, cell.number)) cell.kind = CellKind::number;
  }
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
  if (row < 0 || row >= kMaxRows || col < 0 || col >= kMaxColumns) return nullptr;
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
