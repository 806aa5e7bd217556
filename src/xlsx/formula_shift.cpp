// The formula tokens that matter here: string literals and quoted sheet names (copied as they
// are), bracketed structured references (likewise), and names, among which cell references
// (A1, $B$2), and whole columns or rows on either side of a ':' (A:C, 3:5).
#include "xlsx/formula_shift.h"

#include "records/text_compare.h"
#include "xlsx/cell_ref.h"

namespace tarvenix::xlsx {

namespace {

bool in_name(char c) {
  return is_letter(c) || is_digit(c) || c == '_' || c == '.' || c == '$' || c == '\\';
}

// One coordinate of a reference as written: whether it is absolute and its 0-based value.
struct Part {
  bool absolute = false;
  int value = -1;
};

// Reads "$?LETTERS" (a column) or "$?DIGITS" (a row) at `at`; advances `at` past it.
Part read_part(std::string_view text, size_t& at, bool column) {
  Part part;
  size_t i = at;
  if (i < text.size() && text[i] == '$') part.absolute = true, ++i;
  const size_t max_length = column ? 3 : 7;
  const long limit = column ? max_columns : max_rows;
  long value = 0;
  size_t length = 0;
  for (; i < text.size() && length <= max_length; ++i, ++length) {
    const char c = text[i];
    if (column ? !is_letter(c) : !is_digit(c)) break;
    value = column ? value * 26 + (ascii_upper(c) - 'A' + 1) : value * 10 + (c - '0');
  }
  if (length == 0 || length > max_length || value < 1 || value > limit) return {};
  part.value = static_cast<int>(value - 1);
  at = i;
  return part;
}

// Moves a relative part; false when it leaves the sheet.
bool move(Part& part, int by, int limit) {
  if (!part.absolute) part.value += by;
  return part.value >= 0 && part.value < limit;
}

void append_column(std::string& out, const Part& part) {
  if (part.absolute) out += '$';
  std::string ref;
  append_cell_ref(ref, 0, part.value);
  out.append(ref, 0, ref.size() - 1);  // the letters of "<letters>1"
}

void append_row(std::string& out, const Part& part) {
  if (part.absolute) out += '$';
  out += std::to_string(part.value + 1);
}

// Copies a quoted stretch starting at `at` (doubled quotes stay inside); advances `at`.
void copy_quoted(std::string_view text, size_t& at, std::string& out) {
  const char quote = text[at];
  size_t i = at + 1;
  for (; i < text.size(); ++i) {
    if (text[i] != quote) continue;
    if (i + 1 < text.size() && text[i + 1] == quote) {
      ++i;
      continue;
    }
    ++i;
    break;
  }
  out.append(text.substr(at, i - at));
  at = i;
}

void copy_bracketed(std::string_view text, size_t& at, std::string& out) {
  int depth = 0;
  size_t i = at;
  for (; i < text.size(); ++i) {
    if (text[i] == '[') ++depth;
    if (text[i] == ']' && --depth == 0) {
      ++i;
      break;
    }
  }
  out.append(text.substr(at, i - at));
  at = i;
}

// Reads the name [begin, end) as a reference: a cell (column and row) or, beside a ':', a whole
// column or row. A part that is not there keeps the value -1.
bool read_reference(std::string_view text, size_t begin, size_t end, Part& col, Part& row) {
  const bool range_end =
      (end < text.size() && text[end] == ':') || (begin > 0 && text[begin - 1] == ':');
  size_t at = begin;
  col = read_part(text, at, true);
  row = read_part(text, at, false);
  if (at == end && col.value >= 0 && row.value >= 0) return true;
  return range_end && at == end && (col.value >= 0) != (row.value >= 0);
}

// The name token [begin, end) moved, or copied when it is no reference.
void append_name(std::string_view text, size_t begin, size_t end, int rows, int cols,
                 std::string& out) {
  const char next = end < text.size() ? text[end] : '\0';
  Part col;
  Part row;
  // A name before '(' is a function, before '!' a sheet.
  if (next == '(' || next == '!' || !read_reference(text, begin, end, col, row)) {
    out.append(text.substr(begin, end - begin));
    return;
  }
  if ((col.value >= 0 && !move(col, cols, max_columns)) ||
      (row.value >= 0 && !move(row, rows, max_rows))) {
    out += "#REF!";
    return;
  }
  if (col.value >= 0) append_column(out, col);
  if (row.value >= 0) append_row(out, row);
}

}  // namespace

std::string shift_formula(std::string_view formula, int rows, int cols) {
  std::string out;
  out.reserve(formula.size() + 8);
  size_t at = 0;
  while (at < formula.size()) {
    const char c = formula[at];
    if (c == '"' || c == '\'') {
      copy_quoted(formula, at, out);
    } else if (c == '[') {
      copy_bracketed(formula, at, out);
    } else if (in_name(c)) {
      size_t end = at;
      while (end < formula.size() && in_name(formula[end])) ++end;
      append_name(formula, at, end, rows, cols, out);
      at = end;
    } else {
      out += c;
      ++at;
    }
  }
  return out;
}

}  // namespace tarvenix::xlsx
