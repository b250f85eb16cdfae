#!/usr/bin/env python3
"""Writes iRelief's plug-in property list ("PiPL" resource) for one architecture.

Layout, as Windows hosts read it: a 16-bit 1, a 32-bit list version 0, a
32-bit property count, then per property: vendor code, key, index (0) and
data length (32-bit little-endian each; the length counts the data padded
to a multiple of 4), then the padded data. Four-character codes are stored
as native little-endian integers, so 'kind' lies in the file as b"dnik".

    make_pipl.py x86|x64 OUTPUT [NAME CATEGORY]

NAME and CATEGORY name another filter of ours with the same entry point (the
benchmark's copying filter); without them the list is iRelief's.
"""
import struct
import sys

NAME = "iRelief"
CATEGORY = "Mirefold"
ENTRY_POINT = "PluginMain"
ENTRY_KEYS = {"x86": "wx86", "x64": "8664"}

# Supported-mode flags: hosts read them as bytes, not as a number. The first
# byte holds the first eight modes in the order of the mode numbers hosts
# report, most significant bit first (bitmap 0x80, grayscale 0x40, indexed
# 0x20, RGB 0x10, CMYK 0x08, HSL 0x04, HSB 0x02, multichannel 0x01), the
# second the next eight (duotone 0x80, Lab 0x40, Gray16 0x20, RGB48 0x10,
# Lab48 0x08, CMYK64 0x04, deep multichannel 0x02, duotone16 0x01); two
# zero bytes pad the property.
MODE_ORDER = ["bitmap", "gray", "indexed", "rgb", "cmyk", "hsl", "hsb", "multichannel", "duotone", "lab",
              "gray16", "rgb48", "lab48", "cmyk64", "deepmultichannel", "duotone16"]
SUPPORTED_MODES = ["gray", "rgb", "cmyk", "lab", "gray16", "rgb48", "lab48", "cmyk64"]

# The same modes as the condition hosts evaluate to enable the menu item.
ENABLE_NAMES = {"gray": "GrayScaleMode", "rgb": "RGBMode", "cmyk": "CMYKMode", "lab": "LabMode",
                "gray16": "Gray16Mode", "rgb48": "RGB48Mode", "lab48": "Lab48Mode", "cmyk64": "CMYK64Mode"}
ENABLE_INFO = "in (PSHOP_ImageMode, " + ", ".join(ENABLE_NAMES[m] for m in SUPPORTED_MODES) + ")"

# Filter cases, in the order hosts index them: flat image, flat image with
# selection, floating selection, editable transparency without and with
# selection, protected transparency without and with selection. For each:
# input handling, output handling, flags, reserved. Handling 1 is "pass the
# data straight through"; flags 0 means the host copies source to
# destination first and nothing is written outside the selection.
STRAIGHT = 1
FILTER_CASES = [(STRAIGHT, STRAIGHT, 0, 0)] * 7

PIPL_VERSION_MAJOR, PIPL_VERSION_MINOR = 4, 0


def code(text):
    assert len(text) == 4
    return struct.pack("<I", int.from_bytes(text.encode("ascii"), "big"))


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def pascal(text):
    raw = text.encode("ascii")
    assert len(raw) < 256
    return bytes([len(raw)]) + raw


def prop(key, data):
    data = pad4(data)
    return code("8BIM") + code(key) + struct.pack("<II", 0, len(data)) + data


def mode_bytes(modes):
    flags = bytearray(4)
    for mode in modes:
        i = MODE_ORDER.index(mode)
        flags[i // 8] |= 0x80 >> (i % 8)
    return bytes(flags)


def build(arch, name=NAME, category=CATEGORY):
    props = [
        prop("kind", code("8BFM")),
        prop("vers", struct.pack("<I", (PIPL_VERSION_MAJOR << 16) | PIPL_VERSION_MINOR)),
        prop(ENTRY_KEYS[arch], ENTRY_POINT.encode("ascii") + b"\0"),
        prop("name", pascal(name)),
        prop("catg", pascal(category)),
        prop("mode", mode_bytes(SUPPORTED_MODES)),
        prop("enbl", ENABLE_INFO.encode("ascii") + b"\0"),
        prop("fici", b"".join(bytes(case) for case in FILTER_CASES)),
    ]
    return struct.pack("<HII", 1, 0, len(props)) + b"".join(props)


def main():
    if len(sys.argv) not in (3, 5) or sys.argv[1] not in ENTRY_KEYS:
        sys.exit("usage: make_pipl.py x86|x64 OUTPUT [NAME CATEGORY]")
    data = build(sys.argv[1], *sys.argv[3:5])
    with open(sys.argv[2], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
