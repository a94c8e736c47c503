#!/usr/bin/env python3
"""Draws the toolbar, tab, icon and cursor images of the language libraries.

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


def cursor(ink, hotspot, size=32):
    """A monochrome cursor: white ink pixels with a black outline around them."""
    outline = set()
    for x, y in ink:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                p = (x + dx, y + dy)
                if p not in ink and 0 <= p[0] < size and 0 <= p[1] < size:
                    outline.add(p)
    xor = bytearray()
    and_mask = bytearray()
    for y in reversed(range(size)):
        xor_bits = and_bits = 0
        for x in range(size):
            xor_bits = (xor_bits << 1) | (1 if (x, y) in ink else 0)
            and_bits = (and_bits << 1) | (0 if (x, y) in ink or (x, y) in outline else 1)
        xor += xor_bits.to_bytes(size // 8, "big")
        and_mask += and_bits.to_bytes(size // 8, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(and_mask), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = header + palette + xor + and_mask
    return struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, hotspot[0], hotspot[1],
                                                      len(image), 22) + image


def double_arrow(start, end):
    """Ink of a line from start to end with an arrow head at both ends."""
    (x0, y0), (x1, y1) = start, end
    steps = max(abs(x1 - x0), abs(y1 - y0))
    ux, uy = (x1 - x0) // steps, (y1 - y0) // steps
    ink = {(x0 + ux * i, y0 + uy * i) for i in range(steps + 1)}
    for (tx, ty), (dx, dy) in (((x0, y0), (ux, uy)), ((x1, y1), (-ux, -uy))):
        for i in range(1, 5):
            if dx == 0 or dy == 0:  # straight shaft: barbs at 45 degrees
                ink.update({(tx + dx * i + dy * i, ty + dy * i + dx * i), (tx + dx * i - dy * i, ty + dy * i - dx * i)})
            else:  # diagonal shaft: barbs along the axes
                ink.update({(tx + dx * i, ty), (tx, ty + dy * i)})
    return ink


def arrow_ink():
    """The pointer: a slanted triangle with a short tail."""
    ink = set()
    for y in range(13):
        for x in range(y * 2 // 3 + 1):
            ink.add((1 + x, 1 + y))
    for i in range(6):
        ink.update({(5 + i // 2, 12 + i), (6 + i // 2, 12 + i)})
    return ink


CURSORS = {
    # file: (ink, hot spot)
    "arrow.cur": (arrow_ink(), (1, 1)),
    "move.cur": (double_arrow((16, 5), (16, 27)) | double_arrow((5, 16), (27, 16)), (16, 16)),
    "size_nesw.cur": (double_arrow((24, 8), (8, 24)), (16, 16)),
    "size_nwse.cur": (double_arrow((8, 8), (24, 24)), (16, 16)),
    "size_we.cur": (double_arrow((5, 16), (27, 16)), (16, 16)),
    "size_ns.cur": (double_arrow((16, 5), (16, 27)), (16, 16)),
}


def document_icon(colour, letter, size=40):
    """A page with a folded corner and a large letter: the file list's icons."""
    white = (255, 255, 255)
    rows = [[white] * size for _ in range(size)]
    for y in range(3, size - 3):
        for x in range(7, size - 7):
            fold = x - (size - 17) > y - 3
            if not fold:
                rows[y][x] = (90, 90, 90) if x in (7, size - 8) or y in (3, size - 4) else (245, 245, 245)
    for y in range(14, 32):
        for x in range(10, 30):
            rows[y][x] = colour
    for row, bits in enumerate(FONT[letter]):
        for col, bit in enumerate(bits):
            if bit == "1":
                for dy in range(3):
                    for dx in range(3):
                        rows[16 + row * 3 + dy][15 + col * 3 + dx] = white
    return rows


def main():
    out = Path(__file__).parent
    for name, (image_id, hot_id, colour, labels) in TOOLBARS.items():
        (out / f"toolbar_{name}.bmp").write_bytes(bmp24(strip([tile(l, colour) for l in labels])))
        (out / f"toolbar_{name}_hot.bmp").write_bytes(bmp24(strip([tile(l, lighten(colour)) for l in labels])))
    tabs = [tile(l, (90, 90, 90)) for l in ("P", "F", "D")]
    (out / "tabs.bmp").write_bytes(bmp24(strip(tabs)))
    (out / "mikra.ico").write_bytes(icon())
    for name, (ink, hotspot) in CURSORS.items():
        (out / name).write_bytes(cursor(ink, hotspot))
    (out / "icon_doc.bmp").write_bytes(bmp24(document_icon((40, 90, 180), "W")))
    (out / "icon_xls.bmp").write_bytes(bmp24(document_icon((30, 130, 70), "X")))


if __name__ == "__main__":
    main()
