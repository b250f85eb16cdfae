"""Compact BMP forms of one picture, as LoadBitmap reads them.

A picture with at most 256 colours besides see-through white gets them all;
a richer one gets a palette chosen for coverage: first enough entries that
every colour of the picture has one within a small radius (largest channel
difference), then entries for the colours that would carry the most error,
weighted by how many pixels have them. Pure white 0xFFFFFF, the see-through
colour, has an entry of its own that no other colour is mapped to, so the
see-through pixels stay exactly where they were.

The picture is then written in the smallest of the forms that fit its
palette: 8 bits per pixel (BI_RGB or BI_RLE8) or, with at most 16 entries,
4 bits per pixel (BI_RGB or BI_RLE4). The run-length forms are bottom-up,
use only encoded runs, absolute runs and end-of-line / end-of-bitmap
escapes (never a delta, which would leave pixels undefined), and carry
their size in biSizeImage.

Standard library only, and deterministic: the same pixels give the same
bytes on every run.
"""

import struct

WHITE = (255, 255, 255)
BI_RGB, BI_RLE8, BI_RLE4 = 0, 1, 2
FORM_NAMES = {(8, BI_RGB): '8-bit', (8, BI_RLE8): 'RLE8', (4, BI_RGB): '4-bit', (4, BI_RLE4): 'RLE4'}

# Coverage radius: the largest channel difference any colour may end up
# with. The smallest radius whose cover leaves a quarter of the palette for
# the frequent colours is used; 8 is the most the pictures may differ by.
MAX_RADIUS = 8


def _spread(a, b):
    return max(abs(a[0] - b[0]), abs(a[1] - b[1]), abs(a[2] - b[2]))


def _distance(a, b):
    return abs(a[0] - b[0]) + abs(a[1] - b[1]) + abs(a[2] - b[2])


def _farthest_first(colours, limit):
    """Up to limit entries picked farthest-first (each the colour farthest
    from those picked so far), and after each pick the largest distance
    left: the first n picks cover every colour within reach[n - 1]."""
    chosen = [colours[0]]
    near = [_spread(c, colours[0]) for c in colours]
    reach = [max(near)]
    while len(chosen) < limit and reach[-1] > 0:
        worst = max(range(len(colours)), key=lambda i: (near[i], -i))
        pick = colours[worst]
        chosen.append(pick)
        for i, c in enumerate(colours):
            d = _spread(c, pick)
            if d < near[i]:
                near[i] = d
        reach.append(max(near))
    return chosen, reach


def choose_palette(pixels, size=256):
    """The palette for pixels (RGB tuples): a list of colours, with WHITE
    first when the picture has see-through pixels, and the radius within
    which every other colour finds an entry."""
    counts = {}
    for p in pixels:
        if p != WHITE:
            counts[p] = counts.get(p, 0) + 1
    colours = sorted(counts, key=lambda c: (-counts[c], c))
    see_through = len(counts) < len(set(pixels))
    room = size - (1 if see_through else 0)
    head = [WHITE] if see_through else []
    if len(colours) <= room:
        return head + colours, 0
    # The radius: what a quarter of the room left for frequent colours
    # allows, or MAX_RADIUS when that takes more; then the fewest picks that
    # reach it.
    picks, reach = _farthest_first(colours, room)
    if reach[-1] > MAX_RADIUS:
        raise ValueError('no palette of %d colours covers the picture within %d' % (size, MAX_RADIUS))
    radius = min(reach[min(room * 3 // 4, len(reach)) - 1], MAX_RADIUS)
    n = next(k for k in range(1, len(reach) + 1) if reach[k - 1] <= radius)
    chosen, radius = picks[:n], reach[n - 1]
    # The rest of the palette goes to the colours that would carry the most
    # error, weighted by their pixel count.
    error = [min(_distance(c, e) for e in chosen) * counts[c] for c in colours]
    while len(chosen) < room:
        worst = max(range(len(colours)), key=lambda i: (error[i], -i))
        if error[worst] == 0:
            break
        pick = colours[worst]
        chosen.append(pick)
        for i, c in enumerate(colours):
            e = _distance(c, pick) * counts[c]
            if e < error[i]:
                error[i] = e
    return head + chosen, radius


def map_pixels(pixels, palette, radius):
    """Palette index of every pixel: white to the white entry, every other
    colour to the nearest entry (sum of channel differences) among those
    within radius of it."""
    index = {}
    entries = [(i, e) for i, e in enumerate(palette) if e != WHITE]
    out = []
    for p in pixels:
        j = index.get(p)
        if j is None:
            if p == WHITE:
                j = palette.index(WHITE)
            else:
                best = None
                for i, e in entries:
                    if _spread(p, e) <= radius:
                        key = (_distance(p, e), _spread(p, e), i)
                        if best is None or key < best:
                            best = key
                j = best[2]
            index[p] = j
        out.append(j)
    return out


# --------------------------------------------------------------------------
# Encodings. Rows are bottom-up throughout.


def _rows(indexes, w, h):
    return [indexes[y * w:(y + 1) * w] for y in range(h - 1, -1, -1)]


def _plain(indexes, w, h, bits):
    body = bytearray()
    for row in _rows(indexes, w, h):
        line = bytearray()
        if bits == 8:
            line += bytes(row)
        else:
            for x in range(0, w, 2):
                hi = row[x]
                lo = row[x + 1] if x + 1 < w else 0
                line.append(hi << 4 | lo)
        line += b'\0' * (-len(line) % 4)
        body += line
    return bytes(body)


def _runs(row):
    """(index, length) of the runs of one row, no longer than 255."""
    runs = []
    x = 0
    while x < len(row):
        end = x
        while end < len(row) and row[end] == row[x] and end - x < 255:
            end += 1
        runs.append((row[x], end - x))
        x = end
    return runs


def _absolute(values, bits):
    """One absolute run (3 to 255 pixels), padded to a 16-bit boundary."""
    out = bytearray((0, len(values)))
    if bits == 8:
        out += bytes(values)
    else:
        for x in range(0, len(values), 2):
            lo = values[x + 1] if x + 1 < len(values) else 0
            out.append(values[x] << 4 | lo)
    if len(out) % 2:
        out.append(0)
    return out


def _rle(indexes, w, h, bits):
    body = bytearray()
    rows = _rows(indexes, w, h)
    for n, row in enumerate(rows):
        single = []

        def flush():
            while single:
                part = single[:255]
                del single[:255]
                if len(part) >= 3:
                    body.extend(_absolute(part, bits))
                else:
                    for v in part:
                        body.extend((1, v if bits == 8 else v << 4 | v))

        for value, length in _runs(row):
            if length == 1:
                single.append(value)
                continue
            flush()
            body.extend((length, value if bits == 8 else value << 4 | value))
        flush()
        body.extend((0, 1) if n == len(rows) - 1 else (0, 0))
    return bytes(body)


def _bmp(w, h, bits, compression, palette, body):
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, compression, len(body), 2835, 2835,
                       len(palette), 0)
    offset = 14 + len(info) + len(table)
    head = struct.pack('<2sIHHI', b'BM', offset + len(body), 0, 0, offset)
    return head + info + table + body


def encode_form(w, h, pixels, bits, rle):
    """The picture in one given form: bits 8 or 4 (the palette must then
    have at most 16 entries), run-length encoded or not."""
    palette, radius = choose_palette(pixels)
    if len(palette) > 1 << bits:
        raise ValueError('%d colours do not fit %d bits' % (len(palette), bits))
    indexes = map_pixels(pixels, palette, radius)
    if rle:
        compression = BI_RLE8 if bits == 8 else BI_RLE4
        return _bmp(w, h, bits, compression, palette, _rle(indexes, w, h, bits))
    return _bmp(w, h, bits, BI_RGB, palette, _plain(indexes, w, h, bits))


def encode(w, h, pixels):
    """The smallest compact BMP of a w x h picture (top-down RGB tuples):
    (file bytes, form name). Ties go to the uncompressed form."""
    palette, _ = choose_palette(pixels)
    bits = 4 if len(palette) <= 16 else 8
    plain = encode_form(w, h, pixels, bits, False)
    packed = encode_form(w, h, pixels, bits, True)
    if len(packed) < len(plain):
        return packed, FORM_NAMES[(bits, BI_RLE8 if bits == 8 else BI_RLE4)]
    return plain, FORM_NAMES[(bits, BI_RGB)]


# --------------------------------------------------------------------------
# Decoding, written from the format's description, for the checks.


def decode(data):
    """(width, height, top-down RGB tuples, form name) of a BMP file in any
    of the forms above or 24-bit BI_RGB. Raises ValueError on anything it
    cannot read completely."""
    if data[:2] != b'BM':
        raise ValueError('not a BMP file')
    offset = struct.unpack_from('<I', data, 10)[0]
    size, w, h, planes, bits, compression, image, _, _, used, _ = struct.unpack_from('<IiiHHIIiiII', data, 14)
    if size != 40 or planes != 1 or w <= 0 or h == 0:
        raise ValueError('unexpected header')
    bottom_up = h > 0
    h = abs(h)
    if bits == 24 and compression == BI_RGB:
        stride = (w * 3 + 3) & ~3
        out = [None] * (w * h)
        for r in range(h):
            y = h - 1 - r if bottom_up else r
            o = offset + r * stride
            for x in range(w):
                b, g, red = data[o + 3 * x:o + 3 * x + 3]
                out[y * w + x] = (red, g, b)
        return w, h, out, '24-bit'
    if (bits, compression) not in FORM_NAMES:
        raise ValueError('unsupported form %d bits, compression %d' % (bits, compression))
    count = used or (1 << bits)
    table = [(data[54 + 4 * i + 2], data[54 + 4 * i + 1], data[54 + 4 * i]) for i in range(count)]
    grid = [[None] * w for _ in range(h)]  # rows bottom-up
    if compression == BI_RGB:
        stride = ((w * bits + 7) // 8 + 3) & ~3
        for r in range(h):
            o = offset + r * stride
            for x in range(w):
                if bits == 8:
                    grid[r][x] = data[o + x]
                else:
                    byte = data[o + x // 2]
                    grid[r][x] = byte >> 4 if x % 2 == 0 else byte & 15
    else:
        if not bottom_up:
            raise ValueError('a compressed picture must be bottom-up')
        body = data[offset:offset + image]
        i, x, r = 0, 0, 0
        while True:
            if i + 2 > len(body):
                raise ValueError('runs end without end-of-bitmap')
            first, second = body[i], body[i + 1]
            i += 2
            if first:
                for k in range(first):
                    if bits == 8:
                        v = second
                    else:
                        v = second >> 4 if k % 2 == 0 else second & 15
                    if r >= h or x >= w:
                        raise ValueError('run beyond the picture')
                    grid[r][x] = v
                    x += 1
            elif second == 0:
                x, r = 0, r + 1
            elif second == 1:
                break
            elif second == 2:
                raise ValueError('delta escape leaves pixels undefined')
            else:
                length = (second + 1) // 2 if bits == 4 else second
                values = body[i:i + length]
                i += length + (length % 2)
                for k in range(second):
                    v = values[k] if bits == 8 else (values[k // 2] >> 4 if k % 2 == 0 else values[k // 2] & 15)
                    if r >= h or x >= w:
                        raise ValueError('absolute run beyond the picture')
                    grid[r][x] = v
                    x += 1
    out = [None] * (w * h)
    for r in range(h):
        y = h - 1 - r
        for x in range(w):
            v = grid[r][x]
            if v is None:
                raise ValueError('pixel (%d, %d) not set' % (x, y))
            if v >= count:
                raise ValueError('pixel (%d, %d) indexes beyond the palette' % (x, y))
            out[y * w + x] = table[v]
    return w, h, out, FORM_NAMES[(bits, compression)]
