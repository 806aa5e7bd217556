// Moving a formula to another cell, as a spreadsheet program copies it: its relative references
// move by the same number of rows and columns, absolute ($) ones stay. This is what a shared
// formula means in each cell of its range.
#pragma once

#include <string>
#include <string_view>

namespace tarvenix::xlsx {

// The formula (without its leading '=') moved by `rows` and `cols`; a reference moved off the
// sheet becomes #REF!.
std::string shift_formula(std::string_view formula, int rows, int cols);

}  // namespace tarvenix::xlsx
