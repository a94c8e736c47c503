#!/usr/bin/env python3
"""Draws the toolbar, tab, icon and cursor images of the language libraries.

Each toolbar image is a 16x16 picture of what its button does, drawn on the
mask colour (192,192,192) that the toolbars treat as transparent, so no
drawn pixel may have that colour. The hot images are the same pictures in
lighter colours. Run it again after changing a picture; the images are
committed beside it. With --png DIR it also writes enlarged PNG copies for
looking at them.
"""
import math
import struct
import sys
import zlib
from pathlib import Path

MASK = (192, 192, 192)
INK = (40, 40, 48)
GREY = (110, 110, 120)
LIGHT = (235, 235, 240)
WHITE = (255, 255, 255)
BLUE = (30, 90, 200)
SKY = (120, 170, 235)
RED = (215, 35, 35)
GREEN = (30, 140, 60)
YELLOW = (245, 200, 60)
BROWN = (160, 110, 20)
ORANGE = (235, 130, 30)


class Tile:
    """A 16x16 picture; coordinates run from the top left."""

    def __init__(self):
        self.px = [[MASK] * 16 for _ in range(16)]

    def dot(self, x, y, c):
        if 0 <= x < 16 and 0 <= y < 16:
            self.px[y][x] = c

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0, c)
            if (x0, y0) == (x1, y1):
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.line(x0, y0, x1, y0, c)
        self.line(x0, y1, x1, y1, c)
        self.line(x0, y0, x0, y1, c)
        self.line(x1, y0, x1, y1, c)

    def box(self, x0, y0, x1, y1, inside, edge=INK):
        self.fill(x0, y0, x1, y1, inside)
        self.frame(x0, y0, x1, y1, edge)

    def ring(self, cx, cy, r, c, inside=None, width=1.0):
        for y in range(16):
            for x in range(16):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if inside is not None and d < r - width / 2:
                    self.dot(x, y, inside)
                elif abs(d - r) <= width / 2:
                    self.dot(x, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(16):
            for x in range(16):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.dot(x, y, c)

    def bits(self, x0, y0, rows, c):
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch == "#":
                    self.dot(x0 + dx, y0 + dy, c)


# ---- Main toolbar ----------------------------------------------------------


def page(t, x0=3, y0=1, x1=12, y1=14):
    t.box(x0, y0, x1, y1, WHITE)
    # folded corner
    for i in range(4):
        t.line(x1 - 3 + i, y0, x1, y0 + 3 - i, MASK)
    t.line(x1 - 3, y0, x1 - 3, y0 + 3, INK)
    t.line(x1 - 3, y0 + 3, x1, y0 + 3, INK)
    t.line(x1 - 3, y0, x1, y0 + 3, INK)


def draw_new(t):
    page(t)


def draw_open(t):
    t.box(1, 3, 6, 5, YELLOW, BROWN)  # tab
    t.box(1, 5, 13, 13, YELLOW, BROWN)
    # front flap, opened
    t.fill(4, 8, 14, 12, (250, 225, 120))
    t.line(4, 8, 15, 8, BROWN)
    t.line(4, 8, 2, 13, BROWN)
    t.line(15, 8, 13, 13, BROWN)
    t.line(2, 13, 13, 13, BROWN)


def draw_save(t):
    t.box(1, 1, 14, 14, BLUE)
    t.box(4, 1, 11, 6, WHITE)  # label
    t.fill(9, 2, 10, 5, INK)  # shutter slot
    t.box(3, 9, 12, 14, LIGHT)
    t.line(5, 11, 10, 11, GREY)


def draw_delete(t):
    for i in range(12):
        t.line(2 + i, 2 + i, 3 + i, 2 + i, RED)
        t.line(13 - i, 2 + i, 14 - i, 2 + i, RED)


def draw_start(t):
    for x in range(4, 13):
        half = (12 - x) * 6 // 8
        t.line(x, 7 - half, x, 8 + half, GREEN)


def curved_arrow(t, mirror):
    pts = []

    def d(x, y):
        pts.append((15 - x if mirror else x, y))

    for x, y in [(5, 5), (6, 4), (7, 4), (8, 4), (9, 4), (10, 5), (11, 6), (12, 7), (12, 8), (12, 9), (11, 10), (10, 11),
                 (9, 12), (8, 12)]:
        d(x, y)
        d(x, y + 1)
    for x, y in pts:
        t.dot(x, y, BLUE)
    # arrow head pointing left at (2,5)
    head = [(1, 5), (2, 4), (2, 5), (2, 6), (3, 3), (3, 4), (3, 5), (3, 6), (3, 7), (4, 2), (4, 3), (4, 4), (4, 5), (4, 6),
            (4, 7), (4, 8), (5, 4), (5, 6)]
    for x, y in head:
        t.dot(15 - x if mirror else x, y, BLUE)


def draw_undo(t):
    curved_arrow(t, False)


def draw_redo(t):
    curved_arrow(t, True)


def draw_copy(t):
    t.box(1, 1, 9, 11, WHITE)
    for y in (4, 6, 8):
        t.line(3, y, 7, y, GREY)
    t.box(6, 4, 14, 14, WHITE)
    for y in (7, 9, 11):
        t.line(8, y, 12, y, GREY)


def draw_paste(t):
    t.box(2, 2, 12, 14, (200, 150, 70), BROWN)  # board
    t.box(5, 1, 9, 3, GREY)  # clip
    t.box(6, 6, 14, 14, WHITE)
    for y in (8, 10, 12):
        t.line(8, y, 12, y, GREY)


def draw_print(t):
    t.box(4, 1, 11, 6, WHITE)  # paper in
    t.box(1, 6, 14, 11, LIGHT)
    t.dot(12, 8, GREEN)
    t.box(4, 10, 11, 14, WHITE)  # paper out
    t.line(6, 12, 9, 12, GREY)


# ---- Video toolbar ---------------------------------------------------------


def camcorder(t, body=BLUE):
    t.box(1, 4, 10, 12, body)
    t.ring(5.5, 8, 2, WHITE, inside=SKY)
    # lens hood
    for i, (y0, y1) in enumerate([(7, 9), (6, 10), (5, 11), (4, 12)]):
        t.line(11 + i, y0, 11 + i, y1, INK)


def draw_video_open(t):
    camcorder(t)
    t.fill(7, 1, 9, 3, GREEN)  # on lamp
    t.frame(7, 1, 9, 3, INK)


def draw_video_close(t):
    camcorder(t, GREY)
    t.disc(11.5, 11.5, 4.2, WHITE)
    for d in (0, 1):
        t.line(9 + d, 9, 14, 14 - d, RED)
        t.line(14 - d, 9, 9, 14 - d, RED)


def draw_snapshot(t):
    t.box(4, 2, 9, 4, GREY)  # prism
    t.box(1, 4, 14, 13, GREY)
    t.ring(7.5, 8.5, 3.5, INK, inside=SKY, width=1.2)
    t.disc(7.5, 8.5, 1.2, INK)
    t.fill(11, 5, 12, 6, YELLOW)  # flash


def draw_timed(t):
    t.ring(7.5, 8.5, 6.5, INK, inside=WHITE, width=1.1)
    t.line(7, 8, 7, 4, INK)
    t.line(8, 8, 11, 8, RED)
    t.dot(7, 8, INK)
    for x, y in ((7, 2), (13, 8), (7, 14), (1, 8)):
        t.dot(x, y, INK)
    t.line(1, 2, 3, 0, INK)
    t.line(14, 2, 12, 0, INK)


def draw_record(t):
    t.disc(7.5, 7.5, 6, (150, 20, 20))
    t.disc(7.5, 7.5, 5, RED)
    t.fill(5, 5, 6, 6, (245, 130, 130))


def draw_stop(t):
    t.box(2, 2, 13, 13, INK, INK)
    t.fill(4, 4, 11, 11, GREY)
    t.fill(4, 4, 11, 11, (60, 60, 70))


def draw_parameters(t):
    for x, knob in ((3, 10), (8, 4), (12, 8)):
        t.line(x, 1, x, 14, GREY)
        t.box(x - 1, knob - 1, x + 1, knob + 1, BLUE)


# ---- Measurement toolbar ---------------------------------------------------


def pattern(t, x0, y0, rows, colours):
    for dy, row in enumerate(rows):
        for dx, ch in enumerate(row):
            if ch in colours:
                t.dot(x0 + dx, y0 + dy, colours[ch])


def draw_select(t):
    pattern(t, 3, 1, [
        "#",
        "##",
        "#o#",
        "#oo#",
        "#ooo#",
        "#oooo#",
        "#ooooo#",
        "#oooooo#",
        "#ooo####",
        "#o#o#",
        "##.#o#",
        "#..#o#",
        "....#o#",
        ".....##",
    ], {"#": INK, "o": WHITE})


def draw_calibration_line(t):
    # a ruler with ticks and a measured line above it
    t.box(1, 9, 14, 14, YELLOW, BROWN)
    for x in range(2, 14, 2):
        t.line(x, 10, x, 11 if x % 4 else 12, BROWN)
    t.line(2, 4, 13, 4, RED)
    t.line(2, 2, 2, 6, RED)
    t.line(13, 2, 13, 6, RED)


def draw_line(t):
    t.line(3, 12, 12, 3, BLUE)
    t.line(4, 12, 12, 4, BLUE)
    t.box(1, 11, 4, 14, WHITE)
    t.box(11, 1, 14, 4, WHITE)


def draw_angle(t):
    t.line(1, 13, 14, 13, BLUE)
    t.line(1, 12, 14, 12, BLUE)
    t.line(1, 13, 9, 1, BLUE)
    t.line(2, 13, 10, 1, BLUE)
    # the arc between the rays
    pattern(t, 6, 7, [
        "#..",
        ".#.",
        "..#",
        "..#",
    ], {"#": RED})


def draw_rectangle(t):
    t.frame(1, 3, 14, 12, BLUE)
    t.frame(2, 4, 13, 11, BLUE)


def draw_circle(t):
    t.ring(7.5, 7.5, 6.2, BLUE, width=1.6)
    t.dot(7, 7, RED)
    t.dot(8, 8, RED)
    t.dot(7, 8, RED)
    t.dot(8, 7, RED)


def draw_text(t):
    t.bits(2, 1, [
        "############",
        "############",
        "##...##...##",
        "#....##....#",
        ".....##.....",
        ".....##.....",
        ".....##.....",
        ".....##.....",
        ".....##.....",
        ".....##.....",
        ".....##.....",
        "....####....",
        "...######...",
    ], INK)


def draw_counter(t):
    t.disc(7.5, 7.5, 6.5, GREEN)
    t.ring(7.5, 7.5, 6.5, INK)
    t.bits(5, 4, [
        "..#.",
        ".##.",
        "..#.",
        "..#.",
        "..#.",
        "..#.",
        ".###",
    ], WHITE)


# ---- Picture toolbar -------------------------------------------------------


def magnifier(t):
    t.ring(6, 6, 4.6, INK, inside=SKY, width=1.5)
    for d in range(4):
        t.line(9 + d, 10 + d, 10 + d, 9 + d, BROWN)
        t.line(9 + d, 9 + d, 10 + d, 10 + d, BROWN)
    t.fill(12, 12, 14, 14, BROWN)
    t.dot(14, 12, MASK)
    t.dot(12, 14, MASK)


def draw_zoom_in(t):
    magnifier(t)
    t.line(4, 6, 8, 6, INK)
    t.line(6, 4, 6, 8, INK)


def draw_zoom_out(t):
    magnifier(t)
    t.line(4, 6, 8, 6, INK)


def draw_fit(t):
    t.box(4, 4, 11, 11, SKY, BLUE)
    for (x, y, dx, dy) in ((0, 0, 1, 1), (15, 0, -1, 1), (0, 15, 1, -1), (15, 15, -1, -1)):
        t.line(x, y, x + 3 * dx, y + 3 * dy, INK)
        t.line(x, y, x + 3 * dx, y, INK)
        t.line(x, y, x, y + 3 * dy, INK)


def draw_actual_size(t):
    t.box(0, 2, 15, 13, WHITE, BLUE)
    t.bits(3, 4, [
        ".#.....#.",
        "##....##.",
        ".#..#..#.",
        ".#.....#.",
        ".#..#..#.",
        ".#.....#.",
        "###...###",
    ], INK)


# ---- Composite window tabs -------------------------------------------------


def draw_picture_tab(t):
    t.box(1, 2, 14, 13, SKY, INK)
    t.disc(10, 5, 1.5, YELLOW)
    for x in range(2, 14):
        top = 11 - min(abs(x - 5), 4) if x < 9 else 11 - min(abs(x - 11), 3)
        t.line(x, top, x, 12, GREEN)


def draw_file_tab(t):
    page(t)
    for y in (6, 8, 10, 12):
        t.line(5, y, 10, y, GREY)


def draw_device_tab(t):
    draw_snapshot(t)


def blank(_t):
    pass


TOOLBARS = {
    # name: (image bitmap id, hot bitmap id, pictures in button order; combo
    # boxes take an image place too and stay blank)
    'main': (188, 198, [draw_new, draw_open, draw_save, draw_undo, draw_redo, draw_copy, draw_paste, draw_print]),
    'video': (136, 197, [draw_video_open, draw_video_close, draw_snapshot, draw_timed, blank, draw_record, draw_stop,
                         blank, draw_parameters, blank]),
    'measure': (165, 199, [draw_select, draw_calibration_line, draw_line, draw_angle, draw_rectangle, draw_circle,
                           draw_text, draw_counter, blank]),
    'picture': (163, 200, [draw_zoom_in, draw_zoom_out, draw_fit, draw_actual_size]),
    'fusion': (223, 228, [draw_open, draw_delete, draw_start, draw_save]),
}


def picture(draw):
    t = Tile()
    draw(t)
    return t.px


def hot(px):
    """Lighter colours for the button under the mouse; outlines stay."""
    out = []
    for row in px:
        line = []
        for c in row:
            if c in (MASK, INK):
                line.append(c)
                continue
            lit = tuple(min(255, v + (255 - v) // 5) for v in c)
            line.append((lit[0], lit[1], lit[2] - 1) if lit == MASK else lit)
        out.append(line)
    return out


def strip(tiles):
    return [sum((t[y] for t in tiles), []) for y in range(16)]


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


def png(rows, scale, background):
    """The picture enlarged, the mask colour shown as the given background."""
    height, width = len(rows) * scale, len(rows[0]) * scale
    raw = bytearray()
    for row in rows:
        line = bytearray(b"\0")
        for c in row:
            line += bytes(background if c == MASK else c) * scale
        raw += bytes(line) * scale

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b""))


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


def cross_ink(gap=3):
    """A cross hair through (16, 16) with an open centre."""
    return {(16, i) for i in range(4, 29) if abs(i - 16) > gap} | {(i, 16) for i in range(4, 29) if abs(i - 16) > gap}


def square_ink(x0, y0, x1, y1, dashed=False):
    edge = {(x, y) for x in range(x0, x1 + 1) for y in (y0, y1)} | {(x, y) for y in range(y0, y1 + 1) for x in (x0, x1)}
    return {(x, y) for x, y in edge if not dashed or (x + y) % 4 < 2}


def ring_ink(cx, cy, r):
    return {(round(cx + r * math.cos(a / 32 * math.pi)), round(cy + r * math.sin(a / 32 * math.pi))) for a in range(64)}


def diamond_ink(cx, cy, r):
    return {(cx + dx, cy + s * (r - abs(dx))) for dx in range(-r, r + 1) for s in (1, -1)}


CURSORS = {
    # file: (ink, hot spot)
    "arrow.cur": (arrow_ink(), (1, 1)),
    "move.cur": (double_arrow((16, 5), (16, 27)) | double_arrow((5, 16), (27, 16)), (16, 16)),
    "size_nesw.cur": (double_arrow((24, 8), (8, 24)), (16, 16)),
    "size_nwse.cur": (double_arrow((8, 8), (24, 24)), (16, 16)),
    "size_we.cur": (double_arrow((5, 16), (27, 16)), (16, 16)),
    "size_ns.cur": (double_arrow((16, 5), (16, 27)), (16, 16)),
    # The image controller's modes.
    "select.cur": (arrow_ink() | square_ink(16, 18, 25, 27), (1, 1)),
    "select_hit.cur": (arrow_ink() | double_arrow((21, 14), (21, 30)) | double_arrow((13, 22), (29, 22)), (1, 1)),
    "cross.cur": (cross_ink(), (16, 16)),
    "region.cur": (cross_ink() | square_ink(19, 19, 29, 29, dashed=True), (16, 16)),
    "counting_circle.cur": (cross_ink() | ring_ink(24, 24, 5), (16, 16)),
    "counting_square.cur": (cross_ink() | square_ink(19, 19, 29, 29), (16, 16)),
    "counting_diamond.cur": (cross_ink() | diamond_ink(24, 24, 5), (16, 16)),
}


def main():
    out = Path(__file__).parent
    preview = Path(sys.argv[2]) if len(sys.argv) > 2 and sys.argv[1] == "--png" else None
    images = {}
    for name, (_image_id, _hot_id, draws) in TOOLBARS.items():
        tiles = [picture(d) for d in draws]
        images[f"toolbar_{name}"] = strip(tiles)
        images[f"toolbar_{name}_hot"] = strip([hot(t) for t in tiles])
    images["tabs"] = strip([picture(d) for d in (draw_picture_tab, draw_file_tab, draw_device_tab)])
    for name, rows in images.items():
        (out / f"{name}.bmp").write_bytes(bmp24(rows))
        if preview:
            preview.mkdir(parents=True, exist_ok=True)
            # the flat toolbar's face colour behind the pictures
            (preview / f"{name}.png").write_bytes(png(rows, 8, (240, 240, 240)))
    (out / "mikra.ico").write_bytes(icon())
    for name, (ink, hotspot) in CURSORS.items():
        (out / name).write_bytes(cursor(ink, hotspot))


if __name__ == "__main__":
    main()
