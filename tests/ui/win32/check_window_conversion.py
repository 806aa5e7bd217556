#!/usr/bin/python3
"""Reads back the workbook that tarvenix.exe wrote in the window's conversion test.

Usage: check_window_conversion.py RUN_FOLDER SOURCE_DIR

The test left W1AW.xlsx and expected-counts.txt (the counts of the result message) in
RUN_FOLDER. The workbook must be the template with the year and the call sign in the title
row and exactly as many credited rows filled, each with a call, as the message counted; the
template's columns before the date may not change.
"""
import os
import sys

from openpyxl import load_workbook

DAY, CALL = 4, 9  # openpyxl columns D and I
YEAR = int(os.environ["TARVENIX_CONTEST_YEAR"])  # the build's, set by CTest


def main():
    folder, source_dir = sys.argv[1:3]
    original = load_workbook(f"{source_dir}/samples/Scoresheet v1.0.xlsx").worksheets[0]
    sheet = load_workbook(f"{folder}/W1AW.xlsx").worksheets[0]
    with open(os.path.join(folder, "expected-counts.txt")) as counts:
        counted = sum(int(n) for n in counts.read().split())
    rows = range(3, original.max_row + 1)
    filled = [r for r in rows if original.cell(r, DAY).value is None and sheet.cell(r, DAY).value]
    problems = [f"{cell} is {sheet[cell].value!r}" for cell, value in (("E2", YEAR), ("G2", "W1AW"))
                if sheet[cell].value != value]
    problems += [f"row {r} has a date but no call" for r in filled if not sheet.cell(r, CALL).value]
    problems += [f"cell {r},{c} changed" for r in rows for c in range(1, DAY)
                 if sheet.cell(r, c).value != original.cell(r, c).value]
    if len(filled) != counted:
        problems.append(f"{len(filled)} rows filled, the message counted {counted}")
    print("\n".join(problems + [f"{len(filled)} rows filled"]))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
