#!/usr/bin/env python3
"""Writes the spreadsheet templates delivered beside the program:
Template0.xls (English) and Template1.xls (Chinese), each with the sheets
Sheet1, Sheet2 and Sheet3 the export writes to. Sheet1 has no title block
(its Position in Config.ini is 0); Sheet2 has two title rows above the
counter rows, which start at row 3. Run it again after changing it and
commit the workbooks: python3 make_templates.py <folder>."""
import sys
from pathlib import Path

import xlwt

TITLES = {
    0: ("Counters", ("Counter", "Symbol", "", "Count")),
    1: ("计数器", ("计数器", "符号", "", "数量")),
}


def write(folder, language):
    book = xlwt.Workbook(encoding="utf-8")
    book.add_sheet("Sheet1")
    counters = book.add_sheet("Sheet2")
    title, headings = TITLES[language]
    bold = xlwt.easyxf("font: bold on")
    counters.write(0, 0, title, bold)
    for column, text in enumerate(headings):
        counters.write(1, column, text, bold)
    book.add_sheet("Sheet3")
    book.save(str(folder / f"Template{language}.xls"))


if __name__ == "__main__":
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    for language in TITLES:
        write(out, language)
