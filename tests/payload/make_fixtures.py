#!/usr/bin/env python3
"""Writes the payload test fixtures: files with known byte patterns."""
import os
import sys

out = sys.argv[1]
os.makedirs(out, exist_ok=True)


def pattern(size, seed):
    return bytes((i * 7 + seed * 13 + (i >> 8)) & 0xFF for i in range(size))


files = {
    "alpha.bin": pattern(1000, 1),
    "bravo.bin": pattern(4096, 2),
    "charlie.bin": pattern(1, 3),
    "empty.bin": b"",
    "sketches.bin": pattern(768 + 40, 4),   # longer than its records: the tail is ignored
    "bouquets.bin": pattern(2048, 5),
    "patterns.bin": pattern(1536, 6),
    "short.bin": pattern(500, 7),
}
for name, data in files.items():
    path = os.path.join(out, name)
    if not os.path.exists(path) or open(path, "rb").read() != data:
        with open(path, "wb") as f:
            f.write(data)
