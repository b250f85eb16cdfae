#!/usr/bin/env python3
"""Writes the toolkit tests' bitmaps: BMP files whose pixels follow the
formulas of test_art.h, so a test knows every pixel it reads back. Most are
24-bit; one picture is written again in each compact form the installer's
artwork uses (scripts/compact_bmp.py)."""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import compact_bmp  # noqa: E402

WHITE = (0xFF, 0xFF, 0xFF)
NEAR_WHITE = (0xFF, 0xFF, 0xFE)  # COLORREF 0xFEFFFF: red FF, green FF, blue FE


def background(x, y):            # 222, 100 x 50
    return (x, 4 * y, 0x40)


def button(x, y):                # 203, 58 x 19
    if (x + y) % 7 == 0:
        return WHITE
    if (x + y) % 7 == 3:
        return NEAR_WHITE
    return (0x80 + x, 0x10 + 6 * y, 0x20)


def check_strip(x, y):           # 128, 52 x 13: four 13 x 13 frames
    if (3 * x + y) % 11 == 0:
        return WHITE
    return (4 * x + 1, 16 * y + 3, 0x55)


def grid_strip(x, y):            # 150, 104 x 52: eight 26 x 26 cells
    return (2 * x + 1, 4 * y + 2, 0xA0)


def tall_strip(x, y):            # 151, 78 x 26: three 26 x 26 frames
    return (3 * x, 9 * y, 0x30)


def wide_strip(x, y):            # 152, 40 x 10: two 20 x 10 frames
    return (5 * x + 7, 20 * y + 11, 0x66)


FORM_COLOURS = [(0x10 * i + 5, 0xF0 - 0x0D * i, (0x37 * i) & 0xFF) for i in range(11)] + [WHITE]


def forms(x, y):                 # 153 to 156, 37 x 9: runs, single pixels, white
    if x < 20:
        return FORM_COLOURS[(x // 5 + y) % 12]     # runs of five
    if x < 31:
        return FORM_COLOURS[(x * 7 + y) % 12]      # no two alike: absolute runs
    return FORM_COLOURS[(y * 3) % 12]              # a run to the odd last column


FORMS = {
    "pal8.bmp": (8, False),
    "rle8.bmp": (8, True),
    "pal4.bmp": (4, False),
    "rle4.bmp": (4, True),
}

ART = {
    "bg222.bmp": (100, 50, background),
    "button203.bmp": (58, 19, button),
    "check128.bmp": (52, 13, check_strip),
    "grid150.bmp": (104, 52, grid_strip),
    "tall151.bmp": (78, 26, tall_strip),
    "wide152.bmp": (40, 10, wide_strip),
}


def bmp(width, height, pixel):
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + data


def compact(bits, rle):
    w, h = 37, 9
    pixels = [forms(x, y) for y in range(h) for x in range(w)]
    return compact_bmp.encode_form(w, h, pixels, bits, rle)


out = sys.argv[1]
os.makedirs(out, exist_ok=True)
files = {name: bmp(w, h, f) for name, (w, h, f) in ART.items()}
files.update({name: compact(bits, rle) for name, (bits, rle) in FORMS.items()})
for name, data in files.items():
    path = os.path.join(out, name)
    if not os.path.exists(path) or open(path, "rb").read() != data:
        with open(path, "wb") as fh:
            fh.write(data)
