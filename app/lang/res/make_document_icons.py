#!/usr/bin/env python3
"""Draws the export file list's 40x40 document icons: a white page with a
folded corner and a coloured band carrying the type's letter (W for a Word
document, X for a workbook). Run it again after changing a colour; the
images are committed beside it.
"""
import struct
from pathlib import Path

LETTERS = {
    'W': ["10001", "10001", "10101", "10101", "01010"],
    'X': ["10001", "01010", "00100", "01010", "10001"],
}
ICONS = {'document_word.bmp': ('W', (40, 80, 170)), 'document_workbook.bmp': ('X', (30, 120, 60))}
SIDE = 40
BACKGROUND = (255, 255, 255)
OUTLINE = (100, 100, 100)


def draw(letter, colour):
    px = [[BACKGROUND] * SIDE for _ in range(SIDE)]
    left, top, right, bottom, fold = 7, 3, 32, 36, 8
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if x > right - fold + (y - top) and y < top + fold:
                continue
            edge = x in (left, right) or y in (top, bottom) or x == right - fold + (y - top)
            px[y][x] = OUTLINE if edge else (250, 250, 250)
    for y in range(15, 28):
        for x in range(left + 2, right - 1):
            px[y][x] = colour
    for row, bits in enumerate(LETTERS[letter]):
        for col, bit in enumerate(bits):
            if bit == "1":
                for dy in range(2):
                    for dx in range(2):
                        px[16 + 2 * row + dy + 1][15 + 2 * col + dx] = (255, 255, 255)
    return px


def write_bmp(path, px):
    height, width = len(px), len(px[0])
    stride = (width * 3 + 3) & ~3
    rows = b""
    for row in reversed(px):
        line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        rows += line + b"\0" * (stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    Path(path).write_bytes(header + info + rows)


if __name__ == "__main__":
    here = Path(__file__).parent
    for name, (letter, colour) in ICONS.items():
        write_bmp(here / name, draw(letter, colour))
