// Cell reference parsing and formatting.
#include "xlsx/cell_ref.h"

#include <charconv>

namespace tarvenix::xlsx {

namespace {

int parse_positive(std::string_view digits, int limit) {
  int value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size() || value < 1 || value > limit) {
    return -1;
  }
  return value;
}

}  // namespace

CellRef parse_cell_ref(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && text[i] == '$') ++i;
  int col = 0;
  size_t letters = 0;
  for (; i < text.size() && text[i] >= 'A' && text[i] <= 'Z' && letters < 3; ++i, ++letters) {
    col = col * 26 + (text[i] - 'A' + 1);
  }
  if (i < text.size() && text[i] == '$') ++i;
  const int row = parse_positive(text.substr(i), max_rows);
  if (letters == 0 || col > max_columns || row < 0) return {};
  return {row - 1, col - 1};
}

int parse_row_number(std::string_view text) {
  const int row = parse_positive(text, max_rows);
  return row < 0 ? -1 : row - 1;
}

void append_cell_ref(std::string& out, int row, int col) {
  char letters[3];
  int n = 0;
  for (int c = col + 1; c > 0; c = (c - 1) / 26)
    letters[n++] = static_cast<char>('A' + (c - 1) % 26);
  while (n > 0) out += letters[--n];
  char digits[8];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, row + 1);
  out.append(digits, end);
}

}  // namespace tarvenix::xlsx
