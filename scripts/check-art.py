#!/usr/bin/env python3
"""Measures the committed pictures (res/art/*.bmp, and the larger sets'
res/art/*.jpk) against the 24-bit pictures the art script draws, and fails
when one is not indistinguishable:

- it is in one of the compact forms (8-bit or 4-bit palette, plain or RLE,
  or for the larger sets the packed form), decodes completely and has the
  same size;
- its see-through pixels (pure white 0xFFFFFF) are exactly the reference's;
- the mean channel difference is at most 1 and the largest at most 8 (for a
  packed picture: half its step).

The pictures of the larger sets as the program shows them (decoded over
their bases) are written to WORK_DIR/shown, for the end-to-end tests.

    python3 scripts/check-art.py [WORK_DIR]     (default build/art-check)

The references are drawn afresh by scripts/make-art.py --reference-dir into
WORK_DIR, so they always follow the drawing code; a committed picture that
was not regenerated after a drawing change shows up as a difference.

Drawing and measuring take minutes. The verdict depends on nothing but the
committed pictures, these scripts and the Python that runs them: a check
that passed leaves their digest in WORK_DIR, and a later check of the same
inputs, with its pictures still in WORK_DIR, stands on that verdict.
"""
import hashlib
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compact_bmp  # noqa: E402
import packed_picture  # noqa: E402

MEAN_LIMIT = 1.0
MAX_LIMIT = 8


def measure(art, reference, shown=None, max_limit=MAX_LIMIT):
    """(form, mean difference, largest difference, see-through count,
    problems) of one committed picture against its reference. shown: the
    picture already decoded, (width, height, pixels)."""
    rw, rh, ref, _ = compact_bmp.decode(reference)
    try:
        w, h, px, form = shown + ('packed',) if shown else compact_bmp.decode(art)
    except ValueError as e:
        return '?', None, None, 0, ['does not decode: %s' % e]
    problems = []
    if form == '24-bit':
        problems.append('not in a compact form')
    if (w, h) != (rw, rh):
        return form, None, None, 0, problems + ['%d x %d, expected %d x %d' % (w, h, rw, rh)]
    total = largest = 0
    moved = []
    for i, (p, q) in enumerate(zip(px, ref)):
        if (p == compact_bmp.WHITE) != (q == compact_bmp.WHITE):
            moved.append(i)
        for a, b in zip(p, q):
            d = abs(a - b)
            total += d
            if d > largest:
                largest = d
    mean = total / (3.0 * len(ref))
    if moved:
        x, y = moved[0] % w, moved[0] // w
        problems.append('%d see-through pixels differ, first at (%d, %d)' % (len(moved), x, y))
    if mean > MEAN_LIMIT:
        problems.append('mean difference %.3f over %.1f' % (mean, MEAN_LIMIT))
    if largest > max_limit:
        problems.append('largest difference %d over %d' % (largest, max_limit))
    clear = sum(1 for q in ref if q == compact_bmp.WHITE)
    return form, mean, largest, clear, problems


def bmp24(w, h, px):
    """A 24-bit bottom-up BMP of top-down RGB pixels."""
    stride = (w * 3 + 3) & ~3
    body = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for r, g, b in px[y * w:(y + 1) * w]:
            row += bytes((b, g, r))
        body += row + b'\0' * (stride - len(row))
    import struct
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return struct.pack('<2sIHHI', b'BM', 54 + len(body), 0, 0, 54) + info + bytes(body)


def inputs_digest(root):
    """SHA-256 over the Python version, the art scripts and res/art."""
    h = hashlib.sha256(sys.version.encode())
    scripts = [os.path.join(root, 'scripts', n) for n in ('make-art.py', 'check-art.py', 'compact_bmp.py',
                                                          'packed_picture.py')]
    art_dir = os.path.join(root, 'res', 'art')
    for path in scripts + [os.path.join(art_dir, n) for n in sorted(os.listdir(art_dir))]:
        with open(path, 'rb') as f:
            data = f.read()
        h.update(b'%s %d\0' % (os.path.relpath(path, root).encode(), len(data)))
        h.update(data)
    return h.hexdigest()


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    work = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build', 'art-check')
    digest = inputs_digest(root)
    passed = os.path.join(work, 'passed.sha256')
    try:
        with open(passed) as f:
            same = f.read().strip() == digest
    except OSError:
        same = False
    left = [os.path.join(work, d) for d in ('reference', 'shown')]
    if same and all(os.path.isdir(d) and os.listdir(d) for d in left):
        print('the pictures and the art scripts are as they were when the check passed (%s): it stands' % digest[:12])
        return 0
    if os.path.exists(passed):
        os.remove(passed)
    ref_dir = os.path.join(work, 'reference')
    subprocess.run([sys.executable, os.path.join(root, 'scripts', 'make-art.py'), '--reference-dir', ref_dir,
                    os.path.join(work, 'drawn')], check=True, stdout=subprocess.DEVNULL)
    art_dir = os.path.join(root, 'res', 'art')
    shown_dir = os.path.join(work, 'shown')
    os.makedirs(shown_dir, exist_ok=True)
    names = sorted((n for n in os.listdir(ref_dir) if n.endswith('.bmp')), key=lambda n: (len(n), n))
    decoded = {}
    failed = 0
    print('%-16s %-6s %9s %9s %11s %9s %5s  %s' % ('picture', 'form', 'bytes', '24-bit', 'see-through', 'mean', 'max',
                                                  'verdict'))
    for name in names:
        with open(os.path.join(ref_dir, name), 'rb') as f:
            reference = f.read()
        stem = name[:-4]
        packed = '-' in stem
        path = os.path.join(art_dir, stem + ('.jpk' if packed else '.bmp'))
        if not os.path.exists(path):
            print('%-16s missing from res/art' % os.path.basename(path))
            failed += 1
            continue
        with open(path, 'rb') as f:
            art = f.read()
        shown = None
        limit = MAX_LIMIT
        if packed:
            picture, dpi = stem.split('-')
            base_dpi = packed_picture.HEADER.unpack_from(art)[5]
            base = decoded.get((picture, base_dpi))
            try:
                if base is None:
                    raise ValueError('its base, set %d, did not decode' % base_dpi)
                shown = packed_picture.decode(art, base)
            except ValueError as e:
                print('%-16s does not decode: %s' % (name, e))
                failed += 1
                continue
            limit = packed_picture.HEADER.unpack_from(art)[3] // 2
            decoded[(picture, int(dpi))] = shown
            with open(os.path.join(shown_dir, name), 'wb') as f:
                f.write(bmp24(*shown))
        else:
            w, h, px, _ = compact_bmp.decode(art)
            decoded[(stem, 96)] = (w, h, px)
        form, mean, largest, clear, problems = measure(art, reference, shown, limit)
        print('%-16s %-6s %9d %9d %11d %9s %5s  %s' % (
            name, form, len(art), len(reference), clear, '-' if mean is None else '%.3f' % mean,
            '-' if largest is None else largest, '; '.join(problems) or 'ok'))
        failed += bool(problems)
    if failed:
        print('%d of %d pictures differ from what the art script draws (rerun python3 scripts/make-art.py)'
              % (failed, len(names)))
        return 1
    with open(passed, 'w') as f:
        f.write(digest + '\n')
    return 0


if __name__ == '__main__':
    sys.exit(main())
