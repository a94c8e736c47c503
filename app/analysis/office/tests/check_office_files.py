#!/usr/bin/env python3
"""Reads the workbooks the Office export test left with openpyxl and zipfile,
as a program other than the one that wrote them: the layout the export
promises must be what a reader of the format finds."""
import io
import sys
import zipfile
import xml.etree.ElementTree as ET
from pathlib import Path

import docx
import openpyxl
import xlrd

XDR = "{http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing}"
EMU_PER_POINT = 12700
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def workbook(folder, name):
    # Given a file object, openpyxl reads a package whatever its name says.
    with open(folder / name, "rb") as f:
        return openpyxl.load_workbook(io.BytesIO(f.read()))


def pictures(folder, name):
    """(width, height) in points and the bytes of each picture of Sheet1."""
    with zipfile.ZipFile(folder / name) as package:
        found = []
        names = package.namelist()
        if "xl/drawings/drawing1.xml" not in names:
            return found
        drawing = ET.fromstring(package.read("xl/drawings/drawing1.xml"))
        media = sorted(n for n in names if n.startswith("xl/media/"))
        for anchor, image in zip(drawing.iter(XDR + "absoluteAnchor"), media):
            ext = anchor.find(XDR + "ext")
            found.append((int(ext.get("cx")) / EMU_PER_POINT, int(ext.get("cy")) / EMU_PER_POINT,
                          package.read(image)))
        return found


def document(folder, name):
    with open(folder / name, "rb") as f:
        return docx.Document(io.BytesIO(f.read()))


def texts(table):
    return [[cell.text for cell in row.cells] for row in table.rows]


def check_documents(folder):
    measured = document(folder, "measured.doc")
    check(len(measured.inline_shapes) == 1, "measured.doc has its picture")
    shape = measured.inline_shapes[0]
    check((shape.width.pt, shape.height.pt) == (30, 15), f"picture at 100 %: {shape.width.pt} x {shape.height.pt}")
    check(len(measured.tables) == 1, "one table")
    rows = texts(measured.tables[0])
    check([r[0] for r in rows] == ["类型", "直线_1", "矩形_2", ""], f"table rows {[r[0] for r in rows]}")
    check(rows[1][1] == "10.00" and rows[1][8] == "mm", f"line row {rows[1]}")
    check(len(rows[0]) == 9, "nine columns")
    body = [child.tag.split("}")[1] for child in measured.element.body]
    check(body[:2] == ["p", "tbl"], f"the table follows the picture's paragraph: {body}")

    bare = document(folder, "measured_nopicture.doc")
    check(len(bare.inline_shapes) == 0, "no picture")
    check([r[0] for r in texts(bare.tables[0])] == ["类型", "直线_1", "矩形_2", ""], "table without picture")

    pictures = document(folder, "pictures.doc")
    lines = [p for p in pictures.paragraphs if p._p.xpath(".//w:drawing")]
    per_line = [len(p._p.xpath(".//w:drawing")) for p in lines]
    check(per_line == [2, 2, 1], f"pictures per line {per_line}")
    check(all(p.alignment == 1 for p in lines), "lines centred")
    sizes = {(round(s.width.pt, 2), round(s.height.pt, 2)) for s in pictures.inline_shapes}
    check(sizes == {(226.8, 198.45)}, f"picture sizes {sizes}")

    # The second was written by a word processor that knows no "网格型".
    for name, style in [("count_report.doc", "网格型"), ("count_report_unknown_style.doc", None)]:
        report = document(folder, name)
        check(len(report.inline_shapes) == 1, f"{name}: the report's picture")
        check(len(report.tables) == 2, f"{name}: two report tables")
        if len(report.tables) == 2:
            check(texts(report.tables[0]) == [["目标总数:", "2"], ["图像总面积:", "768.00 μm * μm"]],
                  f"{name}: summary table {texts(report.tables[0])}")
            check(texts(report.tables[1])[0][:2] == ["h0", "h1"] and len(texts(report.tables[1])) == 2,
                  f"{name}: results table after it")
            check(texts(report.tables[1])[1][11] == "110", f"{name}: the last cell of the results")
            styles = [t._tbl.tblPr.xpath("./w:tblStyle/@w:val") for t in report.tables]
            check(styles == [[style] if style else []] * 2, f"{name}: table styles {styles}")


def check_templates(program):
    for language, heading in [(0, "Counter"), (1, "计数器")]:
        book = xlrd.open_workbook(str(program / f"Template{language}.xls"))
        check(book.sheet_names() == ["Sheet1", "Sheet2", "Sheet3"], f"template {language} sheets")
        check(book.sheet_by_name("Sheet1").nrows == 0, f"template {language}: Sheet1 has no title block")
        check(book.sheet_by_name("Sheet2").nrows == 2, f"template {language}: counters start at row 3")
        check(book.sheet_by_name("Sheet2").cell_value(1, 0) == heading, f"template {language} heading")
        with open(program / f"Template{language}.dot", "rb") as f:
            check(f.read(5) == b"{\\rtf", f"Template{language}.dot is RTF")


def main(folder, program):
    folder = Path(folder)
    check_documents(folder / "word")
    check_templates(Path(program))
    folder = folder / "excel"

    book = workbook(folder, "picture.xlsx")["Sheet1"]
    merged = sorted(str(r) for r in book.merged_cells.ranges)
    check(merged == ["A1:I1", "A7:I7"], f"picture.xlsx merges {merged}")
    check(book.row_dimensions[1].height == 397, f"picture row height {book.row_dimensions[1].height}")
    table = [(2, "类型"), (3, "直线_3"), (4, "角_1"), (6, "矩形_4"), (8, "类型"), (9, "直线_3")]
    for row, text in table:
        check(book.cell(row, 1).value == text, f"picture.xlsx A{row} = {book.cell(row, 1).value!r}, not {text!r}")
    check(book.cell(4, 9).value == "°", "an angle's unit")
    shown = pictures(folder, "picture.xlsx")
    check(len(shown) == 2, f"{len(shown)} pictures")
    for width, height, data in shown:
        check((width, height) == (432, 397), f"picture size {width} x {height}")
        check(data[:2] == b"BM", "picture bytes are the BMP")

    book = workbook(folder, "untitled.xlsx")["Sheet1"]
    for row, text in [(1, "类型"), (2, "直线_3"), (6, "直线_3"), (10, None)]:
        check(book.cell(row, 1).value == text, f"untitled.xlsx A{row} = {book.cell(row, 1).value!r}")
    check(book.cell(1, 9).value == "单位", "the header's last column")

    book = workbook(folder, "titled.xls")["Sheet1"]
    for row, text in [(14, "title 14"), (15, "类型"), (16, "直线_3"), (20, "直线_3"), (24, None)]:
        check(book.cell(row, 1).value == text, f"titled.xls A{row} = {book.cell(row, 1).value!r}")

    counters = workbook(folder, "counters.xlsx")["Sheet2"]
    rows = [[counters.cell(r, c).value for c in range(1, 5)] for r in (3, 4, 5)]
    check(rows == [["菱形计数器", "◆", None, "3"], ["矩形计数器", "■", None, "2"], [None] * 4],
          f"counter rows {rows}")
    colour = counters.cell(3, 4).font.color
    check(colour is not None and colour.rgb == "FF00FF00", f"diamond counter colour {colour}")

    for name, a1 in [("title_in_a1.xlsx", "heading"), ("title_in_b1.xlsx", " ")]:
        value = workbook(folder, name)["Sheet1"]["A1"].value
        check(value == a1, f"{name} A1 = {value!r}")

    opened = workbook(folder, "open.xlsx")["Sheet1"]
    check([opened["A1"].value, opened["B1"].value, opened["A2"].value] == ["saved before", "unsaved edit", "直线_3"],
          "open.xlsx keeps the edit saved by closing it")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
