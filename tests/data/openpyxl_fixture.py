"""Checks of workbooks we wrote, read back with openpyxl.

  openpyxl_fixture.py compare TEMPLATE OUTPUT EXPECTED_JSON
      Every cell, style and part of OUTPUT equals TEMPLATE, except the cells named in
      EXPECTED_JSON ({"Sheet!B2": value, ...}), which hold the given value with their old style.
      Prints each difference; exit status 1 when there is one.

scoresheet_template.xlsx beside this script was made with openpyxl (fonts, fills, borders,
number formats, merged cells, formulas, one shared, a defined name, a second sheet) and then
given what openpyxl does not write: shared, rich-text and inline strings, a cached formula
string and a calculation chain, with full calculation on load taken away; its generator is
in this file's history.
"""
import json
import sys
import zipfile

import openpyxl

STYLE_FIELDS = ("number_format", "font", "fill", "border", "alignment", "protection")
CHANGED_PARTS = {"xl/worksheets/sheet1.xml", "xl/sharedStrings.xml", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
                 "[Content_Types].xml", "xl/calcChain.xml"}


def compare(template_path, output_path, expected_path):
    with open(expected_path) as f:
        expected = json.load(f)
    before, after = openpyxl.load_workbook(template_path), openpyxl.load_workbook(output_path)
    problems = [] if before.sheetnames == after.sheetnames else ["sheets %s became %s" % (before.sheetnames, after.sheetnames)]
    for name in before.sheetnames:
        old, new = before[name], after[name]
        for coordinate in sorted({c.coordinate for sheet in (old, new) for row in sheet.iter_rows() for c in row}):
            key, was, now = "%s!%s" % (name, coordinate), old[coordinate], new[coordinate]
            if now.value != expected.get(key, was.value):
                problems.append("%s: %r, expected %r" % (key, now.value, expected.get(key, was.value)))
            problems += ["%s: %s changed" % (key, field) for field in STYLE_FIELDS
                         if repr(getattr(was, field)) != repr(getattr(now, field))]
        if sorted(map(str, old.merged_cells.ranges)) != sorted(map(str, new.merged_cells.ranges)):
            problems.append("%s: merged cells changed" % name)
        problems += ["%s: width of column %s changed" % (name, letter) for letter, dim in old.column_dimensions.items()
                     if new.column_dimensions[letter].width != dim.width]
        problems += ["%s: height of row %s changed" % (name, index) for index, dim in old.row_dimensions.items()
                     if new.row_dimensions[index].height != dim.height]
    if [d.name for d in before.defined_names.definedName] != [d.name for d in after.defined_names.definedName]:
        problems.append("defined names changed")
    with zipfile.ZipFile(template_path) as old, zipfile.ZipFile(output_path) as new:
        names = set(new.namelist())
        problems += ["part %s changed" % name for name in old.namelist() if name not in CHANGED_PARTS
                     and (name not in names or old.read(name) != new.read(name))]
        if "xl/calcChain.xml" in names:
            problems.append("the calculation chain is still there")
        if b"calcChain" in new.read("xl/_rels/workbook.xml.rels") + new.read("[Content_Types].xml"):
            problems.append("the calculation chain is still referenced")
        if b'fullCalcOnLoad="1"' not in new.read("xl/workbook.xml"):
            problems.append("full calculation on load is not set")
    print("\n".join(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) == 5 and sys.argv[1] == "compare":
        sys.exit(compare(*sys.argv[2:]))
    print(__doc__)
    sys.exit(2)
