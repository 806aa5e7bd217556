#!/usr/bin/python3
"""Reads back the workbook that tarvenix.exe wrote in the window's conversion test.

Usage: check_window_conversion.py RUN_FOLDER SOURCE_DIR

The test left W1AW.xlsx, W1AW.log and expected-counts.txt (the counts of the result
message) in RUN_FOLDER. The workbook must be the template with the year and the call sign
in the title row and exactly as many credited rows filled as the message counted; nothing
else may differ from the template.
"""
import os
import sys

from openpyxl import load_workbook

DAY, CALL = 4, 9  # openpyxl columns D and I


def main():
    folder, source_dir = sys.argv[1], sys.argv[2]
    template = load_workbook(os.path.join(source_dir, "samples", "Scoresheet v1.0.xlsx"))
    output = load_workbook(os.path.join(folder, "W1AW.xlsx"))
    with open(os.path.join(folder, "expected-counts.txt")) as counts:
        countries, zones = (int(n) for n in counts.read().split())
    sheet, original = output.worksheets[0], template.worksheets[0]
    problems = []
    if sheet["E2"].value != 2024:
        problems.append(f"year cell E2 is {sheet['E2'].value!r}")
    if sheet["G2"].value != "W1AW":
        problems.append(f"call-sign cell G2 is {sheet['G2'].value!r}")
    filled = 0
    for row in range(3, original.max_row + 1):
        if original.cell(row=row, column=DAY).value is None and \
                sheet.cell(row=row, column=DAY).value is not None:
            filled += 1
            if not sheet.cell(row=row, column=CALL).value:
                problems.append(f"row {row} has a date but no call")
        for column in range(1, DAY):
            if sheet.cell(row=row, column=column).value != \
                    original.cell(row=row, column=column).value:
                problems.append(f"cell {row},{column} changed")
    if filled != countries + zones:
        problems.append(f"{filled} rows filled, the message counted {countries} + {zones}")
    with open(os.path.join(folder, "W1AW.log"), encoding="latin-1") as log:
        text = log.read()
    if "W1AW.xlsx" not in text and "Wrote" not in text and "INFO:" not in text:
        problems.append("the run log says nothing")
    for problem in problems:
        print(problem)
    print(f"{countries} countries, {zones} zones, {filled} rows filled")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
