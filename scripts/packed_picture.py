"""The packed form of the pictures drawn for the larger display scales.

A packed picture is stored as the difference from the same picture of a
smaller set, enlarged by a fixed rule; the program decodes it the same way
(jui/PackedPicture.cpp). The enlargement is a Catmull-Rom cubic in whole
numbers: the weights at each phase are exact fractions, so the enlarged
pixels here and in the program are the same to the last bit. The
differences are rounded to multiples of a step (near-lossless: every channel
within half a step of what was drawn), clamped to 0..255 as they are added
back, and packed with zlib. See-through white stays exactly where it was
drawn and appears nowhere else.

    bytes 0-3    "JPK1"
    4-5, 6-7     width, height (little-endian)
    8            step (odd, 1 to 31)
    9            0
    10-11, 12-13 dots per inch of the base picture's set and of this one
    14-15, 16-17 width and height of the base picture
    18...        zlib stream: one signed byte per channel (blue, green, red),
                 pixels in rows from the top

Standard library only; the same pixels give the same bytes on every run.
"""

import math
import struct
import zlib

WHITE = (255, 255, 255)
HEADER = struct.Struct('<4sHHBBHHHH')


def _weights(n, d):
    """Catmull-Rom weights for the four source pixels around a point n/d of
    the way from the second to the third, over 2 d^3."""
    return ((-n ** 3 + 2 * n * n * d - n * d * d, 3 * n ** 3 - 5 * n * n * d + 2 * d ** 3,
             -3 * n ** 3 + 4 * n * n * d + n * d * d, n ** 3 - n * n * d), 2 * d ** 3)


def _taps(src_n, dst_n, src_dpi, dst_dpi):
    """For each destination pixel: the four source indexes (clamped to the
    edges), their weights and the weights' sum. Pixel centres line up: the
    destination pixel j covers source position (j + 1/2) src/dst - 1/2."""
    out = []
    for j in range(dst_n):
        num = (2 * j + 1) * src_dpi - dst_dpi
        den = 2 * dst_dpi
        i = num // den
        n = num - i * den
        g = math.gcd(n, den)
        w, s = _weights(n // g, den // g)
        out.append(([min(max(i + k, 0), src_n - 1) for k in (-1, 0, 1, 2)], w, s))
    return out


def enlarge(w, h, px, dst_w, dst_h, src_dpi, dst_dpi):
    """The picture (top-down RGB tuples) enlarged to dst_w x dst_h."""
    tx = _taps(w, dst_w, src_dpi, dst_dpi)
    ty = _taps(h, dst_h, src_dpi, dst_dpi)
    rows = []
    for y in range(h):
        row = px[y * w:(y + 1) * w]
        rows.append([tuple(sum(wt[k] * row[idx[k]][c] for k in range(4)) for c in range(3)) for idx, wt, _ in tx])
    out = []
    for idx, wt, sy in ty:
        r0, r1, r2, r3 = (rows[i] for i in idx)
        for x in range(dst_w):
            total = sy * tx[x][2]
            v = []
            for c in range(3):
                acc = wt[0] * r0[x][c] + wt[1] * r1[x][c] + wt[2] * r2[x][c] + wt[3] * r3[x][c]
                q = (2 * acc + total) // (2 * total)
                v.append(0 if q < 0 else (255 if q > 255 else q))
            out.append(tuple(v))
    return out


def _quantise(d, step):
    q = (abs(d) + step // 2) // step
    q = q if d >= 0 else -q
    return max(-128, min(127, q))


def encode(w, h, px, base, base_dpi, dpi, step):
    """(file bytes, decoded pixels) of picture px (w x h, top-down RGB) over
    base = (width, height, pixels) of the set at base_dpi."""
    bw, bh, bpx = base
    pred = enlarge(bw, bh, bpx, w, h, base_dpi, dpi)
    raw = bytearray()
    decoded = []
    for t, p in zip(px, pred):
        qs = []
        for c in (2, 1, 0):
            if t == WHITE:
                # Enough to clamp at 255 exactly.
                q = min(127, -(-(255 - p[c]) // step))
            else:
                q = _quantise(t[c] - p[c], step)
            qs.append(q)
        v = [min(255, max(0, p[c] + q * step)) for c, q in zip((2, 1, 0), qs)]
        if t != WHITE and v == [255, 255, 255]:
            # Never see-through by accident: one step darker in the channel
            # that was drawn darkest.
            c = min(range(3), key=lambda i: t[(2, 1, 0)[i]])
            qs[c] -= 1
            v[c] = min(255, max(0, p[(2, 1, 0)[c]] + qs[c] * step))
        raw += bytes(q & 0xFF for q in qs)
        decoded.append((v[2], v[1], v[0]))
    head = HEADER.pack(b'JPK1', w, h, step, 0, base_dpi, dpi, bw, bh)
    return head + zlib.compress(bytes(raw), 9), decoded


MEAN_LIMIT = 0.95


def encode_within(w, h, px, base, base_dpi, dpi, step):
    """encode() with the largest odd step up to step whose mean channel
    difference from px stays within MEAN_LIMIT: (bytes, decoded, step)."""
    while True:
        data, decoded = encode(w, h, px, base, base_dpi, dpi, step)
        total = sum(abs(a - b) for p, q in zip(px, decoded) for a, b in zip(p, q))
        if step <= 1 or total <= MEAN_LIMIT * 3 * w * h:
            return data, decoded, step
        step -= 2


def decode(data, base):
    """(width, height, top-down RGB tuples) of a packed picture over base."""
    magic, w, h, step, zero, base_dpi, dpi, bw, bh = HEADER.unpack_from(data)
    if magic != b'JPK1' or zero != 0 or (bw, bh) != tuple(base[:2]):
        raise ValueError('not a packed picture over this base')
    raw = zlib.decompress(data[HEADER.size:])
    if len(raw) != 3 * w * h:
        raise ValueError('packed picture of the wrong length')
    pred = enlarge(base[0], base[1], base[2], w, h, base_dpi, dpi)
    out = []
    for i, p in enumerate(pred):
        v = []
        for k, c in enumerate((2, 1, 0)):
            q = raw[3 * i + k]
            q = q - 256 if q >= 128 else q
            v.append(min(255, max(0, p[c] + q * step)))
        out.append((v[2], v[1], v[0]))
    return w, h, out
