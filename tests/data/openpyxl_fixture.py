"""Templates made with openpyxl, and checks of workbooks we wrote, read back with openpyxl.

  openpyxl_fixture.py make TEMPLATE
      A Scoresheet-like template: fonts, fills, borders, number formats, merged cells,
      formulas (one shared), a defined name, a second sheet, shared, rich-text and inline
      strings, a cached formula string, and a calculation chain.
  openpyxl_fixture.py compare TEMPLATE OUTPUT EXPECTED_JSON
      Every cell, style and part of OUTPUT equals TEMPLATE, except the cells named in
      EXPECTED_JSON ({"Sheet!B2": value, ...}), which hold the given value with their old style.
      Prints each difference; exit status 1 when there is one.
"""
import json
import re
import sys
import zipfile

import openpyxl
from openpyxl.styles import Alignment, Border, Font, PatternFill, Side
from openpyxl.workbook.defined_name import DefinedName

MAIN_NS = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"


def make(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Scoresheet"
    thin = Side(style="thin", color="FF000000")
    box = Border(left=thin, right=thin, top=thin, bottom=thin)
    fill = PatternFill("solid", fgColor="FFFFFF99")
    ws["B2"] = "DX Tarvenix Worksheet"
    ws["B2"].font = Font(name="Arial", size=14, bold=True, color="FF0000FF")
    ws["B2"].fill = fill
    ws.merge_cells("B2:D2")
    ws["E2"].number_format = "0"
    ws["E2"].border = box
    ws["G2"].font = Font(italic=True)
    ws["A3"] = "Tom & Jerry <co>"
    ws["C3"].fill = fill  # becomes an inline string below
    ws["C4"].fill = fill  # becomes a rich-text shared string below
    ws["E3"] = 3.14159
    ws["E3"].number_format = "0.00"
    prefixes = ["1A", "3A", "GM", "GM/s - Shetland", "IT9, Sicily", "K", "ZS8"]
    for i, prefix in enumerate(prefixes):
        row = 6 + i
        ws.cell(row=row, column=1, value=i + 1)
        ws.cell(row=row, column=2, value=prefix)
        ws.cell(row=row, column=3, value="Entity %d" % (i + 1))
        for col in range(4, 10):
            cell = ws.cell(row=row, column=col)
            cell.border = box
            cell.alignment = Alignment(horizontal="center")
            if col <= 7:
                cell.number_format = "0"
    ws["D7"] = 12  # an entity row that already holds a day
    for row in range(6, 13):
        ws.cell(row=row, column=11, value="=D%d*2" % row)  # made a shared formula below
    ws["J6"] = "=D6+E6"
    ws["K2"] = "=SUM(D6:D20)"
    ws.cell(row=20, column=3, value="Change History")
    ws.column_dimensions["B"].width = 24
    ws.column_dimensions["I"].width = 14
    ws.row_dimensions[2].height = 30
    wb.defined_names.append(DefinedName("Entities", attr_text="Scoresheet!$B$6:$B$12"))
    notes = wb.create_sheet("Notes")
    notes["A1"] = "Second sheet"
    notes["B2"] = 42
    notes["B3"] = "=Scoresheet!E3*2"
    wb.save(path)
    patch(path)


def patch(path):
    """Adds what this openpyxl does not write: shared strings (it writes inline strings only),
    a rich-text string, a cached formula string and a calculation chain; and takes full
    calculation on load away, as other programs write workbooks."""
    with zipfile.ZipFile(path) as z:
        parts = {name: z.read(name).decode() for name in z.namelist()}
    strings = []

    def share(match):
        strings.append(match.group(2))
        return '%s t="s"><v>%d</v></c>' % (match.group(1), len(strings) - 1)

    sheet = re.sub(r'(<c r="[A-Z]+\d+"(?: s="\d+")?) t="inlineStr"><is><t>(.*?)</t></is></c>',
                   share, parts["xl/worksheets/sheet1.xml"])
    for pattern, replacement, count in [
            (r'<c r="C3" s="(\d+)" t="n"></c>',
             r'<c r="C3" s="\1" t="inlineStr"><is><t>inline &amp; text</t></is></c>', 1),
            (r'<c r="C4" s="(\d+)" t="n"></c>', r'<c r="C4" s="\1" t="s"><v>%d</v></c>' % len(strings), 1),
            (r'(<c r="K2"[^>]*>.*?</c>)', r'\1<c r="L2" t="str"><f>"a"&amp;"b"</f><v>ab</v></c>', 1),
            (r'<c r="K6"><f>D6\*2</f>', '<c r="K6"><f t="shared" ref="K6:K12" si="0">D6*2</f>', 1),
            (r'<c r="K(\d+)"><f>D\1\*2</f>', r'<c r="K\1"><f t="shared" si="0"/>', 6)]:
        sheet, n = re.subn(pattern, replacement, sheet)
        assert n == count, pattern
    parts["xl/worksheets/sheet1.xml"] = sheet
    items = "".join("<si><t>%s</t></si>" % text for text in strings)
    items += ('<si><r><t xml:space="preserve">Rich </t></r><r><rPr><b/></rPr><t>text</t></r>'
              '<rPh sb="0" eb="1"><t>x</t></rPh></si>')
    xml = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
    parts["xl/sharedStrings.xml"] = xml + '<sst xmlns="%s" count="%d" uniqueCount="%d">%s</sst>' % (
        MAIN_NS, len(strings) + 1, len(strings) + 1, items)
    parts["xl/calcChain.xml"] = xml + '<calcChain xmlns="%s"><c r="J6" i="1"/><c r="K2"/></calcChain>' % MAIN_NS
    for part, end, entry in [
            ("xl/_rels/workbook.xml.rels", "</Relationships>",
             '<Relationship Id="rId%s" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
             'relationships/%s" Target="%s.xml"/>'),
            ("[Content_Types].xml", "</Types>", '<Override PartName="/xl/%s.xml" ContentType='
             '"application/vnd.openxmlformats-officedocument.spreadsheetml.%s+xml"/>')]:
        added = "".join(entry % ((name,) * entry.count("%s")) for name in ("calcChain", "sharedStrings"))
        parts[part] = parts[part].replace(end, added + end)
    parts["xl/workbook.xml"] = parts["xl/workbook.xml"].replace(' fullCalcOnLoad="1"', "")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in parts.items():
            z.writestr(name, data.encode())


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
    if len(sys.argv) == 3 and sys.argv[1] == "make":
        make(sys.argv[2])
        sys.exit(0)
    if len(sys.argv) == 5 and sys.argv[1] == "compare":
        sys.exit(compare(*sys.argv[2:]))
    print(__doc__)
    sys.exit(2)
