"""Reads an export file with a reader of its own format and prints its rows as JSON.

xls PATH ENCODING: each cell as [type, value] with xlrd's cell types
                   (0 empty, 1 text, 2 number, 3 date, 4 boolean, 5 error, 6 blank).
csv PATH ENCODING: each row as a list of fields, read with the csv module.
"""
import csv
import json
import os
import sys

mode, path, encoding = sys.argv[1:4]
if mode == "xls":
    import xlrd

    with open(os.devnull, "w") as quiet:
        book = xlrd.open_workbook(path, logfile=quiet, encoding_override=encoding, formatting_info=True)
    sheet = book.sheet_by_index(0)
    rows = [[[cell.ctype, cell.value] for cell in sheet.row(r)] for r in range(sheet.nrows)]
else:
    with open(path, newline="", encoding=encoding) as f:
        rows = list(csv.reader(f, strict=True))
print(json.dumps(rows))
