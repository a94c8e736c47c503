#!/usr/bin/env python3
"""Draws the toolbar, tab and icon images of the language libraries.

Each toolbar image is a 16x16 tile with a short label in a 3x5 pixel font on
the mask colour (192,192,192) that the toolbars treat as transparent. Run it
again after changing a label; the images are committed beside it.
"""
import struct
from pathlib import Path

FONT = {
    'A': ["010", "101", "111", "101", "101"], 'B': ["110", "101", "110", "101", "110"],
    'C': ["011", "100", "100", "100", "011"], 'D': ["110", "101", "101", "101", "110"],
    'E': ["111", "100", "110", "100", "111"], 'F': ["111", "100", "110", "100", "100"],
    'G': ["011", "100", "101", "101", "011"], 'H': ["101", "101", "111", "101", "101"],
    'I': ["111", "010", "010", "010", "111"], 'L': ["100", "100", "100", "100", "111"],
    'M': ["101", "111", "111", "101", "101"], 'N': ["110", "101", "101", "101", "101"],
    'O': ["010", "101", "101", "101", "010"], 'P': ["110", "101", "110", "100", "100"],
    'R': ["110", "101", "110", "101", "101"], 'S': ["011", "100", "010", "001", "110"],
    'T': ["111", "010", "010", "010", "010"], 'V': ["101", "101", "101", "101", "010"],
    'W': ["101", "101", "111", "111", "101"], 'X': ["101", "101", "010", "101", "101"],
    '1': ["010", "110", "010", "010", "111"], '+': ["000", "010", "111", "010", "000"],
    '-': ["000", "000", "111", "000", "000"], '<': ["001", "010", "100", "010", "001"],
    '>': ["100", "010", "001", "010", "100"], '#': ["101", "111", "101", "111", "101"],
    '.': ["000", "000", "000", "000", "010"],
}
MASK = (192, 192, 192)

TOOLBARS = {
    # bitmap id: (hot bitmap id, tile colour, labels in button order)
    'main': (188, 198, (40, 90, 160), ["N", "O", "S", "<", ">", "C", "P", "PR"]),
    'video': (136, 197, (30, 130, 70), ["V", "VX", "SH", "T", "", "R", "RX", "", "VP", ""]),
    'measure': (165, 199, (150, 70, 30), ["SL", "CL", "L", "A", "RE", "O", "TX", "#", ""]),
    'picture': (163, 200, (110, 50, 140), ["+", "-", "F", "1"]),
}


def lighten(colour, amount=70):
    return tuple(min(255, c + amount) for c in colour)


def tile(label, colour):
    px = [[MASK] * 16 for _ in range(16)]
    for y in range(1, 15):
        for x in range(1, 15):
            corner = (x in (1, 14)) and (y in (1, 14))
            if not corner:
                px[y][x] = colour
    width = 4 * len(label) - 1
    left = (16 - width) // 2
    for i, ch in enumerate(label):
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    px[5 + row][left + 4 * i + col] = (255, 255, 255)
    return px


def strip(tiles):
    rows = []
    for y in range(16):
        row = []
        for t in tiles:
            row.extend(t[y])
        rows.append(row)
    return rows


def bmp24(rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(data), 0, 0, 14 + len(header)) + header + data


def icon(size=32):
    colour = (40, 90, 160)
    rows = [[colour if 2 <= x < size - 2 and 2 <= y < size - 2 else (0, 0, 0) for x in range(size)] for y in range(size)]
    for y in range(10, 22):  # a lens: white ring in the middle
        for x in range(10, 22):
            d = (x - 15.5) ** 2 + (y - 15.5) ** 2
            if 16 <= d <= 36:
                rows[y][x] = (255, 255, 255)
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b in row:
            xor += bytes((b, g, r, 255 if (r, g, b) != (0, 0, 0) else 0))
    and_mask = bytearray()
    for row in reversed(rows):
        bits = 0
        line = bytearray()
        for x, p in enumerate(row):
            bits = (bits << 1) | (1 if p == (0, 0, 0) else 0)
            if x % 8 == 7:
                line.append(bits)
                bits = 0
        line += b"\0" * ((4 - len(line) % 4) % 4)
        and_mask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22) + image


def main():
    out = Path(__file__).parent
    for name, (image_id, hot_id, colour, labels) in TOOLBARS.items():
        (out / f"toolbar_{name}.bmp").write_bytes(bmp24(strip([tile(l, colour) for l in labels])))
        (out / f"toolbar_{name}_hot.bmp").write_bytes(bmp24(strip([tile(l, lighten(colour)) for l in labels])))
    tabs = [tile(l, (90, 90, 90)) for l in ("P", "F", "D")]
    (out / "tabs.bmp").write_bytes(bmp24(strip(tabs)))
    (out / "mikra.ico").write_bytes(icon())


if __name__ == "__main__":
    main()
