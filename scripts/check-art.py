#!/usr/bin/env python3
"""Measures the committed pictures (res/art/*.bmp) against the 24-bit
pictures the art script draws, and fails when one is not indistinguishable:

- it is in one of the compact forms (8-bit or 4-bit palette, plain or RLE),
  decodes completely and has the same size;
- its see-through pixels (pure white 0xFFFFFF) are exactly the reference's;
- the mean channel difference is at most 1 and the largest at most 8.

    python3 scripts/check-art.py [WORK_DIR]     (default build/art-check)

The references are drawn afresh by scripts/make-art.py --reference-dir into
WORK_DIR, so they always follow the drawing code; a committed picture that
was not regenerated after a drawing change shows up as a difference.
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compact_bmp  # noqa: E402

MEAN_LIMIT = 1.0
MAX_LIMIT = 8


def measure(art, reference):
    """(form, mean difference, largest difference, see-through count,
    problems) of one committed picture against its reference."""
    rw, rh, ref, _ = compact_bmp.decode(reference)
    try:
        w, h, px, form = compact_bmp.decode(art)
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
    if largest > MAX_LIMIT:
        problems.append('largest difference %d over %d' % (largest, MAX_LIMIT))
    clear = sum(1 for q in ref if q == compact_bmp.WHITE)
    return form, mean, largest, clear, problems


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    work = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build', 'art-check')
    ref_dir = os.path.join(work, 'reference')
    subprocess.run([sys.executable, os.path.join(root, 'scripts', 'make-art.py'), '--reference-dir', ref_dir,
                    os.path.join(work, 'drawn')], check=True, stdout=subprocess.DEVNULL)
    art_dir = os.path.join(root, 'res', 'art')
    names = sorted(n for n in os.listdir(ref_dir) if n.endswith('.bmp'))
    failed = 0
    print('%-16s %-6s %9s %9s %11s %9s %5s  %s' % ('picture', 'form', 'bytes', '24-bit', 'see-through', 'mean', 'max',
                                                  'verdict'))
    for name in names:
        with open(os.path.join(ref_dir, name), 'rb') as f:
            reference = f.read()
        path = os.path.join(art_dir, name)
        if not os.path.exists(path):
            print('%-16s missing from res/art' % name)
            failed += 1
            continue
        with open(path, 'rb') as f:
            art = f.read()
        form, mean, largest, clear, problems = measure(art, reference)
        print('%-16s %-6s %9d %9d %11d %9s %5s  %s' % (
            name, form, len(art), len(reference), clear, '-' if mean is None else '%.3f' % mean,
            '-' if largest is None else largest, '; '.join(problems) or 'ok'))
        failed += bool(problems)
    if failed:
        print('%d of %d pictures differ from what the art script draws (rerun python3 scripts/make-art.py)'
              % (failed, len(names)))
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
