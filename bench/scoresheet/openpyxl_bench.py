"""The benchmark's other side, done with openpyxl.

  openpyxl_bench.py make TEMPLATE
      A Scoresheet-sized template: 400 rows by 9 columns with fonts, fills, borders and
      number formats, shared strings in the entity columns, and a formula column.
  openpyxl_bench.py run TEMPLATE OUTPUT RUNS
      Loads TEMPLATE, writes 400 rows of six cells and saves it as a new file (OUTPUT with the
      run's number appended), RUNS times; prints the fastest and the median seconds of a run.
"""
import sys
import time

import openpyxl
from openpyxl.styles import Alignment, Border, Font, PatternFill, Side

ROWS = 400
FIRST_ROW = 6  # the sheet's row number of the first entity row


def make(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Scoresheet"
    thin = Side(style="thin")
    box = Border(left=thin, right=thin, top=thin, bottom=thin)
    band = PatternFill("solid", fgColor="FFDDEEFF")
    ws["B2"] = "DX Tarvenix Worksheet"
    ws["B2"].font = Font(size=14, bold=True)
    for i in range(ROWS):
        row = FIRST_ROW + i
        ws.cell(row=row, column=1, value=i + 1)
        ws.cell(row=row, column=2, value="P%03d - prefix" % i)
        ws.cell(row=row, column=3, value="Entity number %d" % i)
        for col in range(4, 10):
            cell = ws.cell(row=row, column=col)
            cell.border = box
            cell.alignment = Alignment(horizontal="center")
            if i % 2:
                cell.fill = band
            if col <= 7:
                cell.number_format = "0"
        ws.cell(row=row, column=10, value="=IF(D%d>0,1,0)" % row)
    ws.column_dimensions["B"].width = 24
    wb.save(path)


def fill(ws):
    for i in range(ROWS):
        row = FIRST_ROW + i
        ws.cell(row=row, column=4, value=1 + i % 28)
        ws.cell(row=row, column=5, value=1 + i % 12)
        ws.cell(row=row, column=6, value=i % 2400)
        ws.cell(row=row, column=7, value=20)
        ws.cell(row=row, column=8, value="Phone")
        ws.cell(row=row, column=9, value="K%05d" % i)


def run(template, output, runs):
    seconds = []
    for run in range(runs):
        start = time.perf_counter()
        wb = openpyxl.load_workbook(template)
        fill(wb.worksheets[0])
        wb.save("%s.%d.xlsx" % (output, run))
        seconds.append(time.perf_counter() - start)
    seconds.sort()
    print("%.6f %.6f" % (seconds[0], seconds[len(seconds) // 2]))


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "make":
        make(sys.argv[2])
    elif len(sys.argv) == 5 and sys.argv[1] == "run":
        run(sys.argv[2], sys.argv[3], int(sys.argv[4]))
    else:
        print(__doc__)
        sys.exit(2)
