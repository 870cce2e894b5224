#!/usr/bin/python3
"""The peer of the workbook export: openpyxl writing the same cells and
formats from Python, as a teacher scripting it would.

Usage: bench/xlsx_peer.py WORKBOOK.xlsx [RUNS]

Reads a workbook written by vekla-convert, then times building a new
workbook with the same values, number formats, fills, fonts, alignments,
borders, merges and column widths, and saving it. Prints the median.
"""
import copy
import statistics
import sys
import tempfile
import time

import openpyxl


def cells_of(path):
    ws = openpyxl.load_workbook(path).active
    cells = []
    for row in ws.iter_rows():
        for c in row:
            if c.value is None and not c.has_style:
                continue
            cells.append((c.row, c.column, c.value, c.number_format, copy.copy(c.font), copy.copy(c.fill),
                          copy.copy(c.border), copy.copy(c.alignment)))
    widths = {k: d.width for k, d in ws.column_dimensions.items()}
    return cells, [str(m) for m in ws.merged_cells.ranges], widths


def write(cells, merges, widths, out):
    wb = openpyxl.Workbook()
    ws = wb.active
    for row, col, value, fmt, font, fill, border, align in cells:
        c = ws.cell(row=row, column=col, value=value)
        c.number_format, c.font, c.fill, c.border, c.alignment = fmt, font, fill, border, align
    for m in merges:
        ws.merge_cells(m)
    for k, w in widths.items():
        ws.column_dimensions[k].width = w
    wb.save(out)


def main():
    path = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    cells, merges, widths = cells_of(path)
    times = []
    with tempfile.TemporaryDirectory() as d:
        for _ in range(runs):
            start = time.perf_counter()
            write(cells, merges, widths, d + "/peer.xlsx")
            times.append(time.perf_counter() - start)
    print("openpyxl: %d cells, median %d ms" % (len(cells), statistics.median(times) * 1000))


main()
