#!/usr/bin/env python3
"""Draw the setup program's artwork and write it to res/art/.

Everything here is computed from scratch with the standard library so the
output is the same bytes on every run:

    python3 scripts/make-art.py [--reference-dir DIR] [output-dir]

Bitmaps are drawn in 24-bit colour and written in a compact palette form
that LoadBitmap reads, chosen per picture by compact_bmp.py (windres embeds
the file as RT_BITMAP). --reference-dir also writes each picture as the
uncompressed 24-bit BMP it was drawn as; scripts/check-art.py measures the
compact pictures against those. In the pictures the window draws with
transparency (the done picture and the buttons) pure white 0xFFFFFF means
"not drawn", so opaque white is always written as 0xFEFEFE there.
"""

import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compact_bmp  # noqa: E402
import packed_picture  # noqa: E402

# --------------------------------------------------------------------------
# Palette

PANEL_TOP = (238, 235, 230)      # light warm grey, upper panel
PANEL_BOTTOM = (226, 222, 215)
BAND_TOP = (62, 80, 100)         # slate bottom band
BAND_BOTTOM = (36, 48, 62)
BAND_Y = 292                     # first row of the bottom band
INK = (40, 56, 74)               # dark slate, titles
INK_SOFT = (92, 100, 110)        # secondary text
STEEL = (74, 104, 134)           # accents
GREEN = (58, 142, 84)
WHITE = (255, 255, 255)          # the see-through colour
OFF_WHITE = (254, 254, 254)

W, H = 600, 320                  # window size

# --------------------------------------------------------------------------
# A small proportional bitmap font. Each glyph is rows top to bottom joined
# by '/'; '#' is ink. Rows 0-6 sit above the baseline (capitals use all
# seven, lower case starts at row 2), rows 7-8 are descenders.

FONT = {
    ' ': '.../.../.../.../.../.../...',
    'A': '.###./#...#/#...#/#####/#...#/#...#/#...#',
    'B': '####./#...#/#...#/####./#...#/#...#/####.',
    'C': '.###./#...#/#..../#..../#..../#...#/.###.',
    'D': '####./#...#/#...#/#...#/#...#/#...#/####.',
    'E': '#####/#..../#..../####./#..../#..../#####',
    'F': '#####/#..../#..../####./#..../#..../#....',
    'G': '.###./#...#/#..../#.###/#...#/#...#/.####',
    'H': '#...#/#...#/#...#/#####/#...#/#...#/#...#',
    'I': '###/.#./.#./.#./.#./.#./###',
    'J': '..###/...#./...#./...#./...#./#..#./.##..',
    'K': '#...#/#..#./#.#../##.../#.#../#..#./#...#',
    'L': '#..../#..../#..../#..../#..../#..../#####',
    'M': '#...#/##.##/#.#.#/#.#.#/#...#/#...#/#...#',
    'N': '#...#/#...#/##..#/#.#.#/#..##/#...#/#...#',
    'O': '.###./#...#/#...#/#...#/#...#/#...#/.###.',
    'P': '####./#...#/#...#/####./#..../#..../#....',
    'Q': '.###./#...#/#...#/#...#/#.#.#/#..#./.##.#',
    'R': '####./#...#/#...#/####./#.#../#..#./#...#',
    'S': '.####/#..../#..../.###./....#/....#/####.',
    'T': '#####/..#../..#../..#../..#../..#../..#..',
    'U': '#...#/#...#/#...#/#...#/#...#/#...#/.###.',
    'V': '#...#/#...#/#...#/#...#/#...#/.#.#./..#..',
    'W': '#...#/#...#/#...#/#.#.#/#.#.#/#.#.#/.#.#.',
    'X': '#...#/#...#/.#.#./..#../.#.#./#...#/#...#',
    'Y': '#...#/#...#/.#.#./..#../..#../..#../..#..',
    'Z': '#####/....#/...#./..#../.#.../#..../#####',
    'a': '...../...../.###./....#/.####/#...#/.####',
    'b': '#..../#..../####./#...#/#...#/#...#/####.',
    'c': '...../...../.####/#..../#..../#..../.####',
    'd': '....#/....#/.####/#...#/#...#/#...#/.####',
    'e': '...../...../.###./#...#/#####/#..../.###.',
    'f': '..##/.#../####/.#../.#../.#../.#..',
    'g': '...../...../.####/#...#/#...#/#...#/.####/....#/.###.',
    'h': '#..../#..../####./#...#/#...#/#...#/#...#',
    'i': '#/./#/#/#/#/#',
    'j': '..#/.../..#/..#/..#/..#/..#/..#/##.',
    'k': '#.../#.../#..#/#.#./##../#.#./#..#',
    'l': '#/#/#/#/#/#/#',
    'm': '...../...../##.#./#.#.#/#.#.#/#.#.#/#.#.#',
    'n': '...../...../####./#...#/#...#/#...#/#...#',
    'o': '...../...../.###./#...#/#...#/#...#/.###.',
    'p': '...../...../####./#...#/#...#/#...#/####./#..../#....',
    'q': '...../...../.####/#...#/#...#/#...#/.####/....#/....#',
    'r': '..../..../#.##/##../#.../#.../#...',
    's': '...../...../.####/#..../.###./....#/####.',
    't': '.#../.#../####/.#../.#../.#../..##',
    'u': '...../...../#...#/#...#/#...#/#...#/.####',
    'v': '...../...../#...#/#...#/#...#/.#.#./..#..',
    'w': '...../...../#...#/#...#/#.#.#/#.#.#/.#.#.',
    'x': '...../...../#...#/.#.#./..#../.#.#./#...#',
    'y': '...../...../#...#/#...#/#...#/#...#/.####/....#/.###.',
    'z': '...../...../#####/...#./..#../.#.../#####',
    '0': '.###./#...#/#..##/#.#.#/##..#/#...#/.###.',
    '1': '.#./##./.#./.#./.#./.#./###',
    '2': '.###./#...#/....#/...#./..#../.#.../#####',
    '3': '#####/...#./..#../...#./....#/#...#/.###.',
    '4': '...#./..##./.#.#./#..#./#####/...#./...#.',
    '5': '#####/#..../####./....#/....#/#...#/.###.',
    '6': '..##./.#.../#..../####./#...#/#...#/.###.',
    '7': '#####/....#/...#./..#../.#.../.#.../.#...',
    '8': '.###./#...#/#...#/.###./#...#/#...#/.###.',
    '9': '.###./#...#/#...#/.####/....#/...#./.##..',
    '.': '././././././#',
    ',': '../../../../../.#/.#/#.',
    '-': '.../.../.../###/.../.../...',
    '!': '#/#/#/#/#/./#',
    ':': './././#/./././#',
    "'": '#/#/./././././',
    '&': '.##../#..#./#.#../.#.../#.#.#/#..#./.##.#',
    '/': '....#/....#/...#./..#../.#.../#..../#....',
}

GLYPH_ROWS = 9


def _glyph(ch):
    rows = FONT[ch].split('/')
    assert all(len(r) == len(rows[0]) for r in rows), ch
    rows += ['.' * len(rows[0])] * (GLYPH_ROWS - len(rows))
    return rows


def text_units(text):
    """Width of a string in font units (one unit = one glyph pixel)."""
    width = 0
    for i, ch in enumerate(text):
        width += len(_glyph(ch)[0]) + (1 if i else 0)
    return width


def text_coverage(text, scale, weight=1.0):
    """Ink coverage of a line of text as (width, height, list of 0..1).

    At scale 1 the glyph pixels are copied as they are, which keeps small
    labels crisp. Larger sizes join neighbouring glyph pixels with round
    strokes so diagonals come out smooth instead of stair-stepped.
    """
    width = int(math.ceil(text_units(text) * scale))
    height = int(math.ceil(GLYPH_ROWS * scale))
    cov = [0.0] * (width * height)
    cells = []
    ux = 0
    for ch in text:
        rows = _glyph(ch)
        for gy, row in enumerate(rows):
            for gx, c in enumerate(row):
                if c == '#':
                    cells.append((ux + gx, gy))
        ux += len(rows[0]) + 1
    if scale == 1:
        for x, y in cells:
            cov[y * width + x] = 1.0
        return width, height, cov
    ink = set(cells)
    segs = []
    for x, y in cells:
        segs.append((x, y, x, y))
        for dx, dy in ((1, 0), (0, 1)):
            if (x + dx, y + dy) in ink:
                segs.append((x, y, x + dx, y + dy))
        # Diagonal neighbours are joined only where no straight path exists.
        for dx in (1, -1):
            if ((x + dx, y + 1) in ink and (x + dx, y) not in ink
                    and (x, y + 1) not in ink):
                segs.append((x, y, x + dx, y + 1))
    r = scale * 0.5 * weight
    for x0, y0, x1, y1 in segs:
        ax, ay = (x0 + 0.5) * scale, (y0 + 0.5) * scale
        bx, by = (x1 + 0.5) * scale, (y1 + 0.5) * scale
        vx, vy = bx - ax, by - ay
        vv = vx * vx + vy * vy
        lo_x = max(0, int(min(ax, bx) - r - 1))
        hi_x = min(width, int(max(ax, bx) + r + 2))
        lo_y = max(0, int(min(ay, by) - r - 1))
        hi_y = min(height, int(max(ay, by) + r + 2))
        for py in range(lo_y, hi_y):
            cy = py + 0.5
            for px in range(lo_x, hi_x):
                cx = px + 0.5
                if vv:
                    t = ((cx - ax) * vx + (cy - ay) * vy) / vv
                    t = 0.0 if t < 0 else (1.0 if t > 1 else t)
                else:
                    t = 0.0
                dx = cx - (ax + t * vx)
                dy = cy - (ay + t * vy)
                c = r + 0.5 - math.sqrt(dx * dx + dy * dy)
                if c > 0:
                    i = py * width + px
                    if c > 1:
                        c = 1.0
                    if c > cov[i]:
                        cov[i] = c
    return width, height, cov


# --------------------------------------------------------------------------
# Canvas


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    return tuple(lerp(a, b, t) for a, b in zip(c0, c1))


def clamp01(t):
    return 0.0 if t < 0 else (1.0 if t > 1 else t)


def smoothstep(e0, e1, x):
    t = clamp01((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


def at_scale(v, s):
    """A position or length of the 100 % design in pixels at scale s."""
    return int(math.floor(v * s + 0.5))


class Canvas:
    def __init__(self, w, h, color=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(color) for _ in range(w * h)]

    def get(self, x, y):
        return tuple(self.px[y * self.w + x])

    def set(self, x, y, color):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = list(color)

    def blend(self, x, y, color, a):
        if a <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        p = self.px[y * self.w + x]
        if a >= 1:
            p[0], p[1], p[2] = color
        else:
            p[0] += (color[0] - p[0]) * a
            p[1] += (color[1] - p[1]) * a
            p[2] += (color[2] - p[2]) * a

    def fill_rect(self, x0, y0, x1, y1, color, a=1.0):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.blend(x, y, color, a)

    def draw_cov(self, cov, x0, y0, color, a=1.0):
        cw, ch, data = cov
        for y in range(ch):
            for x in range(cw):
                c = data[y * cw + x]
                if c > 0:
                    self.blend(x0 + x, y0 + y, color, c * a)

    def text(self, s, x, y, scale, color, a=1.0):
        """Draw text with the top of the capitals at y."""
        self.draw_cov(text_coverage(s, scale), x, y, color, a)

    def text_at(self, s, x, y, scale, color, k):
        """The same at scale k: position and size of the 100 % design times k."""
        self.text(s, at_scale(x, k), at_scale(y, k), scale * k, color)

    def paste(self, other, x0, y0):
        for y in range(other.h):
            for x in range(other.w):
                self.set(x0 + x, y0 + y, other.get(x, y))

    def rgb_bytes(self):
        out = []
        for p in self.px:
            out.append(tuple(max(0, min(255, int(v + 0.5))) for v in p))
        return out


def round_rect_cov(w, h, x0, y0, x1, y1, radius):
    """Anti-aliased coverage of a rounded rectangle [x0,x1) x [y0,y1)."""
    cov = [0.0] * (w * h)
    for y in range(h):
        cy = y + 0.5
        for x in range(w):
            cx = x + 0.5
            # distance outside the inner rectangle shrunk by radius
            qx = max(x0 + radius - cx, 0, cx - (x1 - radius))
            qy = max(y0 + radius - cy, 0, cy - (y1 - radius))
            d = math.sqrt(qx * qx + qy * qy) - radius
            cov[y * w + x] = clamp01(0.5 - d)
    return cov


def blur(w, h, data, radius):
    """Box blur, run twice (close enough to a gaussian for soft shadows)."""
    for _ in range(2):
        tmp = [0.0] * (w * h)
        n = 2 * radius + 1
        for y in range(h):
            row = y * w
            for x in range(w):
                s = 0.0
                for k in range(-radius, radius + 1):
                    xx = min(w - 1, max(0, x + k))
                    s += data[row + xx]
                tmp[row + x] = s / n
        out = [0.0] * (w * h)
        for y in range(h):
            for x in range(w):
                s = 0.0
                for k in range(-radius, radius + 1):
                    yy = min(h - 1, max(0, y + k))
                    s += tmp[yy * w + x]
                out[y * w + x] = s / n
        data = out
    return data


def pad_cov(cov, m):
    """Grow a coverage map by m empty pixels on each side."""
    cw, ch, data = cov
    w, h = cw + 2 * m, ch + 2 * m
    out = [0.0] * (w * h)
    for y in range(ch):
        for x in range(cw):
            out[(y + m) * w + x + m] = data[y * cw + x]
    return w, h, out


def embossed_text(canvas, s, x, y, scale, color, depth=1.0, weight=1.0, k=1):
    """Text drawn as a raised, lit shape: soft shadow, then a fill lit from
    the top left along its edges. k: the scale the picture is drawn at."""
    x, y, scale = at_scale(x, k), at_scale(y, k), scale * k
    m = int(math.ceil(scale)) + 3
    cw, ch, cov = pad_cov(text_coverage(s, scale, weight), m)
    ox, oy = x - m, y - m
    shadow = blur(cw, ch, cov, max(1, int(scale // 2)))
    off = at_scale(2, k)
    for yy in range(ch):
        for xx in range(cw):
            sx, sy = xx - off, yy - off
            if 0 <= sx < cw and 0 <= sy < ch:
                a = shadow[sy * cw + sx] * 0.28 * depth
                canvas.blend(ox + xx, oy + yy, (20, 28, 40), a)
    height = blur(cw, ch, cov, max(1, int(scale // 3)))
    for yy in range(1, ch - 1):
        for xx in range(1, cw - 1):
            c = cov[yy * cw + xx]
            if c <= 0:
                continue
            gx = height[yy * cw + xx + 1] - height[yy * cw + xx - 1]
            gy = height[(yy + 1) * cw + xx] - height[(yy - 1) * cw + xx]
            light = max(-1.0, min(1.0, (gx + gy) * 1.6 * depth * k))
            if light > 0:
                col = mix(color, (214, 226, 238), light * 0.75)
            else:
                col = mix(color, (10, 16, 24), -light * 0.6)
            canvas.blend(ox + xx, oy + yy, col, c)


# --------------------------------------------------------------------------
# The panel: a light upper area with a faint raised contour pattern and the
# slate band at the bottom where the status line and buttons live.


def terrain(x, y):
    """Smooth landscape whose contour lines make the relief motif."""
    f = 0.0
    for cx, cy, sx, sy, amp in ((150, 190, 120, 70, 1.0),
                                (450, 175, 140, 85, 0.85),
                                (300, 300, 200, 60, 0.5),
                                (560, 40, 120, 90, 0.35)):
        dx, dy = (x - cx) / sx, (y - cy) / sy
        f += amp * math.exp(-(dx * dx + dy * dy))
    f += 0.06 * math.sin(x * 0.011 + y * 0.017) + 0.04 * math.sin(y * 0.023 - x * 0.007)
    return f


def quiet(x, y):
    """How much of the relief to show at a point: less where text goes."""
    q = 1.0
    for x0, y0, x1, y1, keep in ((14, 10, 330, 92, 0.25),     # title
                                 (440, 8, 600, 44, 0.0),      # web link
                                 (270, 90, 600, 120, 0.2),    # check box row
                                 (10, 228, 600, 290, 0.15)):  # caption, list
        dx = max(x0 - x, 0, x - x1)
        dy = max(y0 - y, 0, y - y1)
        d = math.sqrt(dx * dx + dy * dy)
        q = min(q, lerp(keep, 1.0, smoothstep(0, 18, d)))
    return q


_RELIEF = {}


def _relief_field(w, h, k):
    """Per pixel of a w x h panel at scale k: the base colour's channels,
    the ridge shading and how much of it to show. Computed once for the
    background and the completion picture, which share the panel."""
    from array import array
    key = (w, k)
    have = _RELIEF.get(key)
    if have and have[0] >= h:
        return have[1]
    levels = 9.0
    ridge = 1.6          # half-width of a contour ridge in pixels (of the 100 % design)
    band_y = at_scale(BAND_Y, k)
    field = [array('d') for _ in range(5)]
    for y in range(h):
        ly = (y + 0.5) / k - 0.5
        for x in range(w):
            lx = (x + 0.5) / k - 0.5
            if y >= band_y:
                for f in field:
                    f.append(0.0)
                continue
            base = mix(PANEL_TOP, PANEL_BOTTOM, ly / BAND_Y)
            # gentle lighter glow towards the upper left
            g = math.exp(-(((lx - 90) / 260) ** 2 + ((ly - 40) / 150) ** 2))
            base = mix(base, (246, 244, 240), 0.45 * g)
            t = terrain(lx, ly) * levels
            gx = (terrain(lx + 0.5, ly) - terrain(lx - 0.5, ly)) * levels
            gy = (terrain(lx, ly + 0.5) - terrain(lx, ly - 0.5)) * levels
            gl = math.sqrt(gx * gx + gy * gy)
            shade = 0.0
            if gl > 1e-6:
                s = (t - math.floor(t) - 0.5) / gl     # signed px to contour
                if abs(s) < ridge:
                    # derivative of a cos^2 ridge profile across the line
                    dr = -(math.pi / (2 * ridge)) * math.sin(math.pi * s / ridge)
                    nx, ny = gx / gl, gy / gl
                    shade = dr * (nx + ny) * 0.7071
            for f, v in zip(field, (base[0], base[1], base[2], shade, quiet(lx, ly))):
                f.append(v)
    _RELIEF[key] = (h, field)
    return field


def panel(w, h, relief=1.0, k=1):
    """The panel of the 100 % design drawn w x h pixels large at scale k."""
    c = Canvas(w, h)
    band_y = at_scale(BAND_Y, k)
    field = _relief_field(w, h, k)
    for y in range(h):
        ly = (y + 0.5) / k - 0.5
        for x in range(w):
            lx = (x + 0.5) / k - 0.5
            if y >= band_y:
                t = clamp01((ly - BAND_Y) / (H - BAND_Y - 1))
                col = mix(BAND_TOP, BAND_BOTTOM, t)
                # faint horizontal sheen so the band is not flat
                col = mix(col, (90, 110, 132), 0.10 * (1 - abs(lx - 300) / 300))
                c.set(x, y, col)
                continue
            i = y * w + x
            base = (field[0][i], field[1][i], field[2][i])
            shade = field[3][i]
            shade *= relief * field[4][i]
            if shade > 0:
                col = mix(base, (255, 253, 250), min(1.0, shade * 0.45))
            else:
                col = mix(base, (150, 140, 128), min(1.0, -shade * 0.22))
            c.set(x, y, col)
    # edge between panel and band: a dark line above a light one
    for x in range(w):
        for y in range(at_scale(BAND_Y - 1, k), band_y):
            if y < h:
                c.blend(x, y, (150, 146, 140), 0.6)
        for y in range(band_y, at_scale(BAND_Y + 1, k)):
            if y < h:
                c.blend(x, y, (120, 142, 166), 0.7)
    return c


def groove(c, x0, x1, y, k=1):
    """An engraved horizontal line: dark above light, fading at the ends."""
    for x in range(at_scale(x0, k), at_scale(x1, k)):
        lx = (x + 0.5) / k - 0.5
        a = smoothstep(x0, x0 + 40, lx) * (1 - smoothstep(x1 - 40, x1, lx))
        for yy in range(at_scale(y, k), at_scale(y + 1, k)):
            c.blend(x, yy, (176, 170, 162), a)
        for yy in range(at_scale(y + 1, k), at_scale(y + 2, k)):
            c.blend(x, yy, (252, 251, 249), a)


def header(c, k=1):
    embossed_text(c, 'iRelief', 24, 20, 5, (52, 82, 112), weight=1.15, k=k)
    c.text_at('Relief & emboss filter plug-in', 27, 66, 2, INK_SOFT, k)
    groove(c, 16, 584, 88, k)


def background(k=1):
    c = panel(at_scale(W, k), at_scale(H, k), k=k)
    header(c, k)
    return c


# --------------------------------------------------------------------------
# Completion picture


def tick_badge(c, cx, cy, r, k=1):
    """A round green badge with a raised tick, lit from the top left."""
    cx, cy, r = cx * k, cy * k, r * k
    size = int(2 * r + 12 * k)
    ox, oy = int(cx - size / 2), int(cy - size / 2)
    disc = [0.0] * (size * size)
    for y in range(size):
        for x in range(size):
            d = math.hypot(x + 0.5 - (cx - ox), y + 0.5 - (cy - oy))
            disc[y * size + x] = clamp01(r + 0.5 - d)
    shadow = blur(size, size, disc, at_scale(3, k))
    for y in range(size):
        for x in range(size):
            sx, sy = x - at_scale(2, k), y - at_scale(3, k)
            if 0 <= sx < size and 0 <= sy < size:
                c.blend(ox + x, oy + y, (30, 36, 44), shadow[sy * size + sx] * 0.30)
    for y in range(size):
        for x in range(size):
            a = disc[y * size + x]
            if a <= 0:
                continue
            dx = (x + 0.5 - (cx - ox)) / r
            dy = (y + 0.5 - (cy - oy)) / r
            # dome shading plus a darker rim
            light = 0.5 - 0.35 * (dx + dy)
            col = mix((40, 112, 64), (104, 184, 124), clamp01(light))
            rim = smoothstep(0.86, 1.0, math.hypot(dx, dy))
            col = mix(col, (30, 86, 50), rim * 0.6)
            c.blend(ox + x, oy + y, col, a)
    # the tick: two capsules
    pts = [(cx - r * 0.45, cy + r * 0.02), (cx - r * 0.12, cy + r * 0.34),
           (cx + r * 0.48, cy - r * 0.32)]
    width = r * 0.13
    for shift, col, alpha in ((1.5 * k, (22, 70, 40), 0.5), (0.0, (250, 252, 248), 1.0)):
        for (ax, ay), (bx, by) in zip(pts, pts[1:]):
            ax, ay, bx, by = ax + shift, ay + shift, bx + shift, by + shift
            vx, vy = bx - ax, by - ay
            vv = vx * vx + vy * vy
            for y in range(int(min(ay, by) - width - 2), int(max(ay, by) + width + 3)):
                for x in range(int(min(ax, bx) - width - 2), int(max(ax, bx) + width + 3)):
                    px, py = x + 0.5, y + 0.5
                    t = clamp01(((px - ax) * vx + (py - ay) * vy) / vv)
                    d = math.hypot(px - ax - t * vx, py - ay - t * vy)
                    cv = clamp01(width + 0.5 - d)
                    if cv > 0:
                        c.blend(x, y, col, cv * alpha)


DONE_H = 298
# Rectangle that has to stay see-through: the web link is painted there
# before the completion picture.
LINK_HOLE = (450, 14, 600, 40)


def done(k=1):
    c = panel(at_scale(W, k), at_scale(DONE_H, k), relief=0.55, k=k)
    header(c, k)
    tick_badge(c, 104, 180, 38, k)
    c.text_at('iRelief has been installed', 170, 146, 3, INK, k)
    c.text_at('Thank you for choosing Mirefold.', 171, 186, 2, INK_SOFT, k)
    return c


# --------------------------------------------------------------------------
# Buttons and small pictures


def button(w, h, label, k=1):
    """A rounded slate button for the bottom band, w x h in the 100 % design,
    drawn at scale k. Outside the rounded shape the picture is see-through
    white; the corner edges are blended with the band colour behind them so
    they do not fringe."""
    lw, lh = w, h
    w, h = at_scale(lw, k), at_scale(lh, k)
    c = Canvas(w, h)
    cov = round_rect_cov(w, h, 0, 0, w, h, 4.5 * k)
    inner = round_rect_cov(w, h, 1 * k, 1 * k, w - 1 * k, h - 1 * k, 3.5 * k)
    band = mix(BAND_TOP, BAND_BOTTOM, (299 + lh / 2 - BAND_Y) / (H - BAND_Y - 1))
    for y in range(h):
        t = y / (h - 1)
        face = mix((112, 140, 168), (68, 94, 122), t)
        if at_scale(1, k) <= y < at_scale(2, k):
            face = mix(face, (168, 190, 212), 0.6)
        for x in range(w):
            a = cov[y * w + x]
            if a <= 0:
                c.set(x, y, WHITE)
                continue
            col = mix((24, 34, 46), face, inner[y * w + x])
            c.set(x, y, mix(band, col, a))
    tw = int(math.ceil(text_units(label) * k))
    tx = (w - tw) // 2
    ty = (h - at_scale(7, k)) // 2
    c.text(label, tx, ty + at_scale(1, k), k, (30, 44, 60), 0.55)
    c.text(label, tx, ty, k, (246, 248, 250))
    return c


def indicator(label, k=1):
    w, h = at_scale(20, k), at_scale(19, k)
    c = Canvas(w, h)
    cov = round_rect_cov(w, h, 0, 0, w, h, 4.5 * k)
    inner = round_rect_cov(w, h, 1 * k, 1 * k, w - 1 * k, h - 1 * k, 3.5 * k)
    behind = mix(PANEL_TOP, PANEL_BOTTOM, 245 / BAND_Y)
    for y in range(h):
        face = mix((96, 126, 156), (62, 88, 116), y / (h - 1))
        for x in range(w):
            a = cov[y * w + x]
            col = mix((38, 54, 72), face, inner[y * w + x])
            c.set(x, y, mix(behind, col, a))
    tw = int(math.ceil(text_units(label) * k))
    c.text(label, (w - tw) // 2, at_scale(6, k), k, (246, 248, 250))
    return c


TICK = (
    '.............',
    '.............',
    '.............',
    '..........##.',
    '.........###.',
    '..##....###..',
    '..###..###...',
    '...######....',
    '....####.....',
    '.....##......',
)
# The same tick as two strokes, in the units of the 13-pixel frame, for the
# larger scales: corner points and half the stroke width.
TICK_STROKE = ((3.0, 6.0), (5.6, 8.6), (10.9, 3.8))
TICK_HALF_WIDTH = 1.05


def capsule_cov(x, y, a, b, half):
    """Coverage of pixel (x, y) by the stroke from a to b, half wide."""
    (ax, ay), (bx, by) = a, b
    vx, vy = bx - ax, by - ay
    px_, py_ = x + 0.5, y + 0.5
    t = clamp01(((px_ - ax) * vx + (py_ - ay) * vy) / (vx * vx + vy * vy))
    return clamp01(half + 0.5 - math.hypot(px_ - ax - t * vx, py_ - ay - t * vy))


def checkbox_strip(k=1):
    n = at_scale(13, k)             # one frame is n x n
    edge_w = at_scale(1, k)
    c = Canvas(4 * n, n)
    border = (128, 28, 30)
    tick = (40, 150, 64)
    stroke = [(x * k, y * k) for x, y in TICK_STROKE]
    for f in range(4):
        x0 = f * n
        fill = (226, 226, 226) if f in (0, 2) else (190, 190, 190)
        for y in range(n):
            for x in range(n):
                edge = x < edge_w or y < edge_w or x >= n - edge_w or y >= n - edge_w
                col = border if edge else fill
                # inner shade under the top and left edges
                if not edge and (x < 2 * edge_w or y < 2 * edge_w):
                    col = mix(col, (120, 120, 120), 0.25)
                c.set(x0 + x, y, col)
        if f < 2:
            continue
        if k == 1:
            for y, row in enumerate(TICK):
                for x, ch in enumerate(row):
                    if ch == '#':
                        c.set(x0 + x, y, tick)
            continue
        for y in range(n):
            for x in range(n):
                a = max(capsule_cov(x, y, p, q, TICK_HALF_WIDTH * k) for p, q in zip(stroke, stroke[1:]))
                c.blend(x0 + x, y, tick, a)
    return c


# --------------------------------------------------------------------------
# Cursor and icon

# Pointing hand, index finger up. 'X' outline (black), 'o' fill (white).
HAND = """
.....XX...........
....XooX..........
....XooX..........
....XooX..........
....XooX..........
....XooXXX........
....XooXooXXX.....
....XooXooXooXX...
....XooXooXooXoX..
.XX.XooXooXooXooX.
XooXXoooooooooooX.
XoooXoooooooooooX.
.XooXoooooooooooX.
..XoooooooooooooX.
..XooooooooooooX..
...XoooooooooooX..
...XooooooooooX...
....XoooooooooX...
....XoooooooooX...
....XXXXXXXXXXX...
"""
HAND_HOTSPOT = (5, 0)


def cursor_file():
    rows = [r for r in HAND.strip().split('\n')]
    size = 32
    xor = [[0] * size for _ in range(size)]
    andm = [[1] * size for _ in range(size)]
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == 'X':
                andm[y][x] = 0
            elif ch == 'o':
                andm[y][x] = 0
                xor[y][x] = 1

    def pack(bits):
        out = b''
        for y in range(size - 1, -1, -1):      # bottom-up
            v = 0
            for b in bits[y]:
                v = (v << 1) | b
            out += v.to_bytes(size // 8, 'big')
        return out

    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0,
                         size * size // 8 * 2, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = header + palette + pack(xor) + pack(andm)
    hx, hy = HAND_HOTSPOT
    return (struct.pack('<HHH', 0, 2, 1)
            + struct.pack('<BBBBHHII', size, size, 2, 0, hx, hy, len(image), 22)
            + image)


ICON_SIZES = (16, 24, 32, 48, 256)
ICON_PNG_FROM = 256              # images this large are stored as PNG


def icon_image(size):
    """RGBA pixels (top-down) of the program icon at one size: a slate tile
    with a raised light 'R', lit from the top left."""
    ss = 4 if size <= 48 else 2  # supersampling; the large image needs less
    n = size * ss
    tile = round_rect_cov(n, n, 0.5 * ss, 0.5 * ss, n - 0.5 * ss, n - 0.5 * ss,
                          size * 0.2 * ss)
    # The letter is a 5 x 7 glyph: 2 units a glyph pixel at 16, then about
    # one glyph pixel for every 8 icon pixels.
    scale = (2 if size == 16 else max(3, size // 8)) * ss
    gw, gh, g = text_coverage('R', scale)
    letter = [0.0] * (n * n)
    ox = (n - gw) // 2
    oy = (n - 7 * scale) // 2
    for y in range(gh):
        for x in range(gw):
            if 0 <= ox + x < n and 0 <= oy + y < n:
                letter[(oy + y) * n + ox + x] = g[y * gw + x]
    k = max(1, size // 32)       # the bevel grows with the icon
    soft = blur(n, n, letter, ss * k)
    out = []
    for y in range(size):
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(ss):
                for sx in range(ss):
                    X, Y = x * ss + sx, y * ss + sy
                    i = Y * n + X
                    a = tile[i]
                    if a <= 0:
                        continue
                    col = mix((96, 128, 160), (40, 58, 80), (X + Y) / (2 * n))
                    # raised rim of the tile
                    edge = min(X, Y, n - 1 - X, n - 1 - Y) / ss
                    if edge < 1.2:
                        col = mix(col, (150, 176, 202) if X + Y < n else (24, 34, 48), 0.6)
                    L = letter[i]
                    if L > 0:
                        gx = soft[i + 1] - soft[i - 1] if 0 < X < n - 1 else 0
                        gy = soft[i + n] - soft[i - n] if 0 < Y < n - 1 else 0
                        light = max(-1.0, min(1.0, (gx + gy) * 6 * k))
                        face = (232, 230, 224)
                        face = mix(face, (255, 255, 255), light) if light > 0 else mix(face, (120, 130, 140), -light)
                        col = mix(col, face, L)
                    else:
                        sh = soft[i - n - 1] if X > 0 and Y > 0 else 0
                        col = mix(col, (16, 22, 32), sh * 0.5)
                    acc[0] += col[0] * a
                    acc[1] += col[1] * a
                    acc[2] += col[2] * a
                    acc[3] += a
            a = acc[3]
            if a > 0:
                out.append((acc[0] / a, acc[1] / a, acc[2] / a, a / (ss * ss)))
            else:
                out.append((0.0, 0.0, 0.0, 0.0))
    return out


def icon_png(size, px):
    """The image as a PNG (8-bit RGBA, no interlace), as icons store their
    large images. zlib at a fixed level keeps the bytes the same every run."""
    import zlib

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = bytearray()
    for y in range(size):
        raw.append(0)                        # filter: none
        for x in range(size):
            r, g, b, a = px[y * size + x]
            raw += bytes((int(r + 0.5), int(g + 0.5), int(b + 0.5),
                          max(0, min(255, int(a * 255 + 0.5)))))
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
            + chunk(b'IEND', b''))


def icon_dib(size, px):
    """The image as a 32-bit DIB with its AND mask, as icons store small images."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    color = b''
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = px[y * size + x]
            color += bytes((int(b + 0.5), int(g + 0.5), int(r + 0.5),
                            max(0, min(255, int(a * 255 + 0.5)))))
    stride = ((size + 31) // 32) * 4
    mask = b''
    for y in range(size - 1, -1, -1):
        v = 0
        for x in range(size):
            v = (v << 1) | (1 if px[y * size + x][3] < 0.5 else 0)
        mask += v.to_bytes((size + 7) // 8, 'big').ljust(stride, b'\0')
    return header + color + mask


def icon_file(sizes=ICON_SIZES):
    images = []
    for size in sizes:
        px = icon_image(size)
        data = icon_png(size, px) if size >= ICON_PNG_FROM else icon_dib(size, px)
        images.append((size, data))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        # A width or height of 256 is written as 0.
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return out


# --------------------------------------------------------------------------
# Output


class Picture(bytes):
    """A picture's compact BMP file (see compact_bmp.py); `reference` is the
    same picture as the uncompressed 24-bit BMP it is measured against."""

    def __new__(cls, data, reference, form):
        self = super().__new__(cls, data)
        self.reference = reference
        self.form = form
        return self


def bmp_bytes(canvas, see_through=False, hole=None):
    """The picture as a compact BMP. With see_through, 0xFFFFFF is reserved
    for the see-through parts: opaque pixels that came out pure white are
    nudged to 0xFEFEFE, and the optional hole rectangle is filled with pure
    white."""
    w, h = canvas.w, canvas.h
    px = canvas.rgb_bytes()
    if see_through:
        fixed = []
        for i, p in enumerate(px):
            if p == WHITE and not canvas_marked_clear(canvas, i):
                p = OFF_WHITE
            fixed.append(p)
        px = fixed
        if hole:
            x0, y0, x1, y1 = hole
            for y in range(max(0, y0), min(h, y1)):
                for x in range(max(0, x0), min(w, x1)):
                    px[y * w + x] = WHITE
    data, form = compact_bmp.encode(w, h, px)
    return Picture(data, bmp24_bytes(w, h, px), form)


def bmp24_bytes(w, h, px):
    """Uncompressed 24-bit bottom-up BMP of top-down RGB pixels."""
    stride = (w * 3 + 3) & ~3
    body = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = px[y * w + x]
            row += bytes((b, g, r))
        row += b'\0' * (stride - len(row))
        body += row
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(body), 0, 0, 14 + len(info))
    return head + info + bytes(body)


def canvas_marked_clear(canvas, i):
    return i in getattr(canvas, 'clear', ())


def mark_clear(canvas):
    """Remember which pixels were deliberately set to see-through white."""
    canvas.clear = {i for i, p in enumerate(canvas.px) if tuple(p) == WHITE}
    return canvas


# The sets drawn for the larger display scales: dots per inch, the set each
# is stored over (jui/ScaleRules.h has the same list) and the largest step
# of its near-lossless packing (scripts/packed_picture.py; a picture whose
# mean difference would exceed 1 at that step takes a smaller one).
SETS = ((144, 96, 7), (192, 144, 9), (288, 192, 11))


def pictures(k=1):
    """Every bitmap of the window drawn at scale k: (file stem, resource id,
    canvas, see-through, hole)."""
    hole = tuple(at_scale(v, k) for v in LINK_HOLE)
    return (
        ('bg', 222, background(k), False, None),
        ('done', 213, done(k), True, hole),
        ('exit', 203, mark_clear(button(58, 19, 'Exit', k)), True, None),
        ('install', 219, mark_clear(button(60, 19, 'Install', k)), True, None),
        ('finish', 220, mark_clear(button(60, 19, 'Finish', k)), True, None),
        ('ind', 224, indicator('32', k), False, None),
        ('ind', 225, indicator('64', k), False, None),
        ('check', 128, checkbox_strip(k), False, None),
    )


def see_through_pixels(canvas, see_through, hole):
    """The canvas's pixels as the pictures store them (see bmp_bytes)."""
    w, h = canvas.w, canvas.h
    px = canvas.rgb_bytes()
    if not see_through:
        return px
    px = [OFF_WHITE if p == WHITE and not canvas_marked_clear(canvas, i) else p for i, p in enumerate(px)]
    if hole:
        x0, y0, x1, y1 = hole
        for y in range(max(0, y0), min(h, y1)):
            for x in range(max(0, x0), min(w, x1)):
                px[y * w + x] = WHITE
    return px


def set_resource_id(design_id, dpi):
    """jui/ScaleRules.cpp, PictureSetResourceId."""
    return dpi * 100 + design_id


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    args = sys.argv[1:]
    reference_dir = None
    if args[:1] == ['--reference-dir']:
        reference_dir, args = args[1], args[2:]
        os.makedirs(reference_dir, exist_ok=True)
    out_dir = args[0] if args else os.path.join(root, 'res', 'art')
    os.makedirs(out_dir, exist_ok=True)
    files = {
        'bg222.bmp': bmp_bytes(background()),
        'done213.bmp': bmp_bytes(done(), see_through=True, hole=LINK_HOLE),
        'exit203.bmp': bmp_bytes(mark_clear(button(58, 19, 'Exit')), see_through=True),
        'install219.bmp': bmp_bytes(mark_clear(button(60, 19, 'Install')), see_through=True),
        'finish220.bmp': bmp_bytes(mark_clear(button(60, 19, 'Finish')), see_through=True),
        'ind224.bmp': bmp_bytes(indicator('32')),
        'ind225.bmp': bmp_bytes(indicator('64')),
        'check128.bmp': bmp_bytes(checkbox_strip()),
        'link120.cur': cursor_file(),
        'mainicon.ico': icon_file(),
    }
    for name, data in files.items():
        with open(os.path.join(out_dir, name), 'wb') as f:
            f.write(data)
        if isinstance(data, Picture):
            print(f'{name}: {len(data)} bytes, {data.form}')
            if reference_dir:
                with open(os.path.join(reference_dir, name), 'wb') as f:
                    f.write(data.reference)
        else:
            print(f'{name}: {len(data)} bytes')

    # The larger sets, each packed over the pictures of a smaller one as the
    # program decodes them.
    decoded = {}
    for name, data in files.items():
        if isinstance(data, Picture):
            w, h, px, _ = compact_bmp.decode(bytes(data))
            decoded[(int(''.join(ch for ch in name if ch.isdigit())), 96)] = (w, h, px)
    rc_lines = ['// The pictures of the larger display scales (scripts/make-art.py writes this file).']
    for dpi, base_dpi, step in SETS:
        k = dpi / 96 if dpi % 96 else dpi // 96
        for stem, rid, canvas, see_through, hole in pictures(k):
            px = see_through_pixels(canvas, see_through, hole)
            data, dec, used = packed_picture.encode_within(canvas.w, canvas.h, px, decoded[(rid, base_dpi)],
                                                           base_dpi, dpi, step)
            decoded[(rid, dpi)] = (canvas.w, canvas.h, dec)
            name = f'{stem}{rid}-{dpi}.jpk'
            with open(os.path.join(out_dir, name), 'wb') as f:
                f.write(data)
            if reference_dir:
                with open(os.path.join(reference_dir, f'{stem}{rid}-{dpi}.bmp'), 'wb') as f:
                    f.write(bmp24_bytes(canvas.w, canvas.h, px))
            rc_lines.append(f'LANGUAGE 9, 1\n{set_resource_id(rid, dpi)} JPK "@ART_DIR@/{name}"')
            print(f'{name}: {len(data)} bytes, {canvas.w} x {canvas.h}, step {used}')
    with open(os.path.join(out_dir, 'sets.rc.in'), 'w') as f:
        f.write('\n'.join(rc_lines) + '\n')


if __name__ == '__main__':
    main()
