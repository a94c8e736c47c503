#!/usr/bin/env python3
"""Writes the BMP variants ImageMagick cannot write, from files it wrote.

Run in this folder after the ImageMagick commands of README.md; every output
is then decoded by ImageMagick into the reference .rgb files.
"""
import struct


def read(name):
    return open(name, "rb").read()


def header(b):
    size, = struct.unpack_from("<I", b, 14)
    w, h, planes, bpp, comp = struct.unpack_from("<iiHHI", b, 18)
    offset, = struct.unpack_from("<I", b, 10)
    return size, w, h, bpp, comp, offset


def stride(w, bpp):
    return (w * bpp + 31) // 32 * 4


def rows_bottom_up(b):
    size, w, h, bpp, comp, offset = header(b)
    assert comp == 0 and h > 0
    s = stride(w, bpp)
    return [b[offset + y * s: offset + (y + 1) * s] for y in range(h)]


def indices(row, w, bpp):
    if bpp == 8:
        return list(row[:w])
    assert bpp == 4
    return [(row[x // 2] >> (4 if x % 2 == 0 else 0)) & 15 for x in range(w)]


def with_pixels(b, pixels, comp=None, height=None, bpp=None):
    """Header and colour table of b, then pixels; sizes updated."""
    size, w, h, old_bpp, old_comp, offset = header(b)
    head = bytearray(b[:offset])
    struct.pack_into("<I", head, 2, offset + len(pixels))
    if height is not None:
        struct.pack_into("<i", head, 22, height)
    if bpp is not None:
        struct.pack_into("<H", head, 28, bpp)
    if comp is not None:
        struct.pack_into("<I", head, 30, comp)
    struct.pack_into("<I", head, 34, len(pixels))
    return bytes(head) + pixels


def runs(values):
    """(value-or-list, count) pieces: repeats of 3 or more become runs."""
    out, i = [], 0
    while i < len(values):
        j = i
        while j < len(values) and values[j] == values[i] and j - i < 255:
            j += 1
        if j - i >= 3:
            out.append(("run", values[i], j - i))
            i = j
        else:
            start = i
            while i < len(values) and i - start < 255:
                k = i
                while k < len(values) and values[k] == values[i]:
                    k += 1
                if k - i >= 3:
                    break
                i += 1
            out.append(("abs", values[start:i], i - start))
    return out


def rle8(rows, w):
    out = bytearray()
    for row in rows:
        for kind, v, n in runs(indices(row, w, 8)):
            if kind == "run":
                out += bytes([n, v])
            elif n < 3:  # absolute mode needs at least 3 pixels
                for value in v:
                    out += bytes([1, value])
            else:
                out += bytes([0, n]) + bytes(v) + (b"\0" if n % 2 else b"")
        out += b"\0\0"  # end of line
    out[-2:] = b"\0\1"  # end of bitmap replaces the last end of line
    return bytes(out)


def rle4(rows, w):
    out = bytearray()
    for row in rows:
        values = indices(row, w, 4)
        x = 0
        while x < w:
            # Encoded mode also alternates two colours: a run of "a b a b ...".
            n = 2
            while x + n < w and n < 255 and values[x + n] == values[x + n - 2]:
                n += 1
            if n >= 4 or x + 2 >= w:
                n = min(n, w - x)
                second = values[x + 1] if n > 1 else 0
                out += bytes([n, values[x] << 4 | second])
                x += n
            else:
                n = min(w - x, 7)
                if n < 3:
                    out += bytes([1, values[x] << 4])
                    x += 1
                    continue
                chunk = values[x:x + n] + [0]
                packed = bytes(chunk[i] << 4 | chunk[i + 1] for i in range(0, n, 2))
                out += bytes([0, n]) + packed + (b"\0" if len(packed) % 2 else b"")
                x += n
        out += b"\0\0"
    out[-2:] = b"\0\1"
    return bytes(out)


def write(name, data):
    open(name, "wb").write(data)


p8 = read("p8.bmp")
p4 = read("p4.bmp")
c24 = read("c24.bmp")
c555 = read("c555.bmp")
c32 = read("c32.bmp")
w8 = header(p8)[1]

write("rle8-absolute.bmp", with_pixels(p8, rle8(rows_bottom_up(p8), w8), comp=1))
write("rle4.bmp", with_pixels(p4, rle4(rows_bottom_up(p4), header(p4)[1]), comp=2))

# Row 0 starts with 4 pixels of colour 7; after the end of that line a delta
# moves 5 right and 3 up (to row 4), absolute mode paints 9, 10, 11, a run
# paints two of colour 1 and the picture ends. Pixels not painted take
# colour 0.
delta = bytes([4, 7, 0, 0, 0, 2, 5, 3, 0, 3, 9, 10, 11, 0, 2, 1, 0, 1])
write("rle8-delta.bmp", with_pixels(p8, delta, comp=1))

for name, source in (("td24.bmp", c24), ("td8.bmp", p8)):
    size, w, h, bpp, comp, offset = header(source)
    rows = rows_bottom_up(source)
    write(name, with_pixels(source, b"".join(reversed(rows)), height=-h))

# 16-bit BI_RGB in the default 5-5-5 layout: c555's pixels behind a plain
# 40-byte header and no masks.
size, w, h, bpp, comp, offset = header(c555)
info = bytearray(c555[14:54])
struct.pack_into("<I", info, 0, 40)
struct.pack_into("<I", info, 16, 0)
pixels = c555[offset:]
write("c16rgb.bmp", b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) + bytes(info) + pixels)

# V4 header: the first 108 bytes of c32's V5 header.
size, w, h, bpp, comp, offset = header(c32)
v4 = bytearray(c32)
struct.pack_into("<I", v4, 14, 108)
write("v4-32.bmp", bytes(v4))

# 32-bit BI_RGB (blue, green, red, unused) and 32-bit bit fields in red,
# green, blue order behind a 40-byte header with the three masks after it.
pixels = c32[offset:]
info = bytearray(c32[14:54])
struct.pack_into("<I", info, 0, 40)
struct.pack_into("<I", info, 16, 0)
write("c32rgb.bmp", b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) + bytes(info) + pixels)
swapped = bytearray(pixels)
for i in range(0, len(swapped), 4):
    swapped[i], swapped[i + 2] = swapped[i + 2], swapped[i]
struct.pack_into("<I", info, 16, 3)
masks = struct.pack("<III", 0x000000FF, 0x0000FF00, 0x00FF0000)
write("bf32-rgbx.bmp", b"BM" + struct.pack("<IHHI", 66 + len(swapped), 0, 0, 66) + bytes(info) + masks + bytes(swapped))
