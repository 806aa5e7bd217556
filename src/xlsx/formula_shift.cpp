// The formula tokens that matter here: string literals and quoted sheet names (copied as they
// are), bracketed structured references (likewise), and names, among which cell references
// (A1, $B$2), and whole columns or rows on either side of a ':' (A:C, 3:5).
#include "xlsx/formula_shift.h"

#include <cctype>

#include "xlsx/cell_ref.h"

namespace tarvenix::xlsx {

namespace {

bool is_letter(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool is_digit(char c) {
  return c >= '0' && c <= '9';
}
bool in_name(char c) {
  return is_letter(c) || is_digit(c) || c == '_' || c == '.' || c == '$' || c == '\\';
}

// One coordinate of a reference as written: whether it is absolute and its 0-based value.
struct Part {
  bool absolute = false;
  int value = -1;
};

// Reads "$?LETTERS" (a column) at `at`; advances `at`.
Part read_column(std::string_view text, size_t& at) {
  Part part;
  size_t i = at;
  if (i < text.size() && text[i] == '$') part.absolute = true, ++i;
  int col = 0;
  size_t letters = 0;
  for (; i < text.size() && is_letter(text[i]) && letters < 4; ++i, ++letters) {
    col = col * 26 + (std::toupper(static_cast<unsigned char>(text[i])) - 'A' + 1);
  }
  if (letters == 0 || letters > 3 || col > kMaxColumns) return {};
  part.value = col - 1;
  at = i;
  return part;
}

// Reads "$?DIGITS" (a row) at `at`; advances `at`.
Part read_row(std::string_view text, size_t& at) {
  Part part;
  size_t i = at;
  if (i < text.size() && text[i] == '$') part.absolute = true, ++i;
  long row = 0;
  size_t digits = 0;
  for (; i < text.size() && is_digit(text[i]) && digits < 8; ++i, ++digits) {
    row = row * 10 + (text[i] - '0');
  }
  if (digits == 0 || digits > 7 || row < 1 || row > kMaxRows) return {};
  part.value = static_cast<int>(row - 1);
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

// The name token [begin, end) moved, or copied when it is no reference.
void append_name(std::string_view text, size_t begin, size_t end, int rows, int cols,
                 std::string& out) {
  const std::string_view name = text.substr(begin, end - begin);
  const char next = end < text.size() ? text[end] : '\0';
  const char previous = begin > 0 ? text[begin - 1] : '\0';
  const bool range_end = next == ':' || previous == ':';
  if (next == '(' || next == '!') {  // a function or a sheet name
    out.append(name);
    return;
  }
  size_t at = begin;
  Part col = read_column(text, at);
  Part row = col.value >= 0 ? read_row(text, at) : Part{};
  if (col.value >= 0 && row.value >= 0 && at == end) {
    if (!move(col, cols, kMaxColumns) || !move(row, rows, kMaxRows)) {
      out += "#REF!";
      return;
    }
    append_column(out, col);
    append_row(out, row);
    return;
  }
  at = begin;
  col = read_column(text, at);
  if (range_end && col.value >= 0 && at == end) {
    if (!move(col, cols, kMaxColumns)) {
      out += "#REF!";
      return;
    }
    append_column(out, col);
    return;
  }
  at = begin;
  row = read_row(text, at);
  if (range_end && row.value >= 0 && at == end) {
    if (!move(row, rows, kMaxRows)) {
      out += "#REF!";
      return;
    }
    append_row(out, row);
    return;
  }
  out.append(name);
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
