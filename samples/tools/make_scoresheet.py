#!/usr/bin/python3
"""Builds the DX Tarvenix Scoresheet template from the program's own entity table.

Usage: print_entity_table | make_scoresheet.py OUTPUT.xlsx

Reads tab-separated rows (prefix, code, in_country_list, name) on standard input, as the
print_entity_table tool writes them from ENTITY_TABLE, so the table has one source.
Layout the converter relies on: B2 holds the title, E2 the year, G2 the call sign; the
entity list starts on row 6 (prefix in B, name in C) and ends with ZS8; the CQ Zones fill
rows 352 to 391; a "Change History" trailer follows.
"""
import sys

from openpyxl import Workbook
from openpyxl.styles import Alignment, Border, Font, PatternFill, Side
from openpyxl.utils import get_column_letter

FIRST_ENTITY_ROW = 6
FIRST_ZONE_ROW = 352  # zone z is on row z + 351 (row index z + 350)
ZONES = 40
HEADINGS = ["Prefix", "Entity", "Day", "Month", "Time (UTC)", "Band (m)", "Mode", "Call"]
WIDTHS = {"A": 3, "B": 10, "C": 36, "D": 7, "E": 7, "F": 11, "G": 9, "H": 9, "I": 14}


def read_entities(stream):
    entities = []
    for line in stream:
        prefix, code, _flag, name = line.rstrip("\n").split("\t")
        if name:  # deleted entities have no name and are not scored
            entities.append((prefix, int(code), name))
    if not entities or entities[-1][0] != "ZS8":
        sys.exit("make_scoresheet: the entity list must end with ZS8")
    return entities


def style_row(sheet, row, border, fill=None, bold=False):
    for column in range(2, 10):
        cell = sheet.cell(row=row, column=column)
        cell.border = border
        if fill:
            cell.fill = fill
        if bold:
            cell.font = Font(bold=True)


def build(entities, path):
    book = Workbook()
    sheet = book.active
    sheet.title = "Scoresheet"
    thin = Side(style="thin", color="808080")
    border = Border(left=thin, right=thin, top=thin, bottom=thin)
    heading_fill = PatternFill("solid", fgColor="DDEBF7")
    section_fill = PatternFill("solid", fgColor="FFF2CC")

    sheet["B2"] = "DX Tarvenix Worksheet"
    sheet["B2"].font = Font(bold=True, size=14)
    sheet["D2"] = "Year:"
    sheet["F2"] = "Call:"
    sheet["E2"].number_format = "0"
    sheet["G2"].font = Font(bold=True)
    sheet["B3"] = "Entities worked:"
    sheet["D3"] = f"=COUNTA(I{FIRST_ENTITY_ROW}:I{FIRST_ENTITY_ROW + len(entities) - 1})"
    sheet["F3"] = "Zones worked:"
    sheet["H3"] = f"=COUNTA(I{FIRST_ZONE_ROW}:I{FIRST_ZONE_ROW + ZONES - 1})"
    sheet["B4"] = "Total:"
    sheet["D4"] = "=D3+H3"
    for column, text in enumerate(HEADINGS, start=2):
        sheet.cell(row=5, column=column, value=text)
    style_row(sheet, 5, border, heading_fill, bold=True)

    row = FIRST_ENTITY_ROW
    for prefix, _code, name in entities:
        sheet.cell(row=row, column=2, value=prefix)
        sheet.cell(row=row, column=3, value=name)
        style_row(sheet, row, border)
        sheet.cell(row=row, column=6).number_format = "0000"
        row += 1
    if row != FIRST_ZONE_ROW - 1:
        sys.exit(f"make_scoresheet: {row - FIRST_ENTITY_ROW} entities do not end on row "
                 f"{FIRST_ZONE_ROW - 2}")

    sheet.cell(row=row, column=2, value="CQ Zones")
    sheet.merge_cells(start_row=row, start_column=2, end_row=row, end_column=9)
    style_row(sheet, row, border, section_fill, bold=True)
    for zone in range(1, ZONES + 1):
        zone_row = FIRST_ZONE_ROW + zone - 1
        sheet.cell(row=zone_row, column=2, value=zone)
        sheet.cell(row=zone_row, column=3, value=f"CQ Zone {zone}")
        style_row(sheet, zone_row, border)
        sheet.cell(row=zone_row, column=6).number_format = "0000"

    trailer = FIRST_ZONE_ROW + ZONES + 1
    sheet.cell(row=trailer, column=2, value="Comments:")
    sheet.merge_cells(start_row=trailer + 1, start_column=2, end_row=trailer + 4, end_column=9)
    sheet.cell(row=trailer + 1, column=2).alignment = Alignment(wrap_text=True, vertical="top")
    sheet.cell(row=trailer + 6, column=3, value="Change History")
    sheet.cell(row=trailer + 6, column=3).font = Font(bold=True)
    sheet.cell(row=trailer + 7, column=3, value="v1.0  First Scoresheet for the DX Tarvenix")

    for column, width in WIDTHS.items():
        sheet.column_dimensions[column].width = width
    sheet.freeze_panes = "B6"
    notes = book.create_sheet("Rules")
    notes["A1"] = "Enter one QSO per entity and per CQ Zone worked during the contest year."
    notes.column_dimensions[get_column_letter(1)].width = 80
    book.save(path)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    build(read_entities(sys.stdin), sys.argv[1])
