#!/usr/bin/env python3
"""Checks one built iRelief plug-in file from the outside, as a host would see it.

    check_8bf.py FILE x86|x64

PE header (machine, DLL flag), the export table (the entry point by name),
the import table (Windows system DLLs only) and the "PIPL" resource, parsed
back field by field with a reader of its own. Every failed check prints the
expected and the seen value; the exit code is the number of failures.
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from peimage import Image  # noqa: E402

MACHINES = {"x86": 0x014C, "x64": 0x8664}
ENTRY_KEYS = {"x86": "wx86", "x64": "8664"}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "msvcrt.dll", "gdi32.dll", "advapi32.dll"}

failures = 0


def check(what, expected, seen):
    global failures
    if expected != seen:
        failures += 1
        print(f"FAIL {what}: expected {expected!r}, seen {seen!r}")
    else:
        print(f"ok   {what}: {seen!r}")


def code(text):
    return int.from_bytes(text.encode("ascii"), "big")


def parse_pipl(blob):
    """Returns the list of (vendor, key, index, data) or raises on a malformed list."""
    reserved, version, count = struct.unpack_from("<HII", blob, 0)
    check("PiPL leading word", 1, reserved)
    check("PiPL list version", 0, version)
    props = []
    at = 10
    for _ in range(count):
        vendor, key, index, length = struct.unpack_from("<IIII", blob, at)
        at += 16
        if at + length > len(blob):
            raise ValueError(f"property {key:#x} runs past the resource")
        props.append((vendor, key, index, length, blob[at:at + length]))
        at += length
    check("PiPL bytes after the last property", 0, len(blob) - at)
    return props


def check_pipl(blob, arch, exports):
    props = parse_pipl(blob)
    by_key = {}
    for vendor, key, index, length, data in props:
        tag = key.to_bytes(4, "big").decode("latin-1")
        check(f"vendor of '{tag}'", "8BIM", vendor.to_bytes(4, "big").decode("latin-1"))
        check(f"index of '{tag}'", 0, index)
        check(f"length of '{tag}' is a multiple of 4", 0, length % 4)
        by_key.setdefault(tag, data)

    def number(tag):
        return struct.unpack_from("<I", by_key[tag], 0)[0]

    for tag in ("kind", "vers", "name", "catg", "mode", "enbl", "fici", ENTRY_KEYS[arch]):
        check(f"property '{tag}' present", True, tag in by_key)
    if failures:
        return
    check("kind", "8BFM", number("kind").to_bytes(4, "big").decode("latin-1"))
    check("version (major, minor)", (4, 0), (number("vers") >> 16, number("vers") & 0xFFFF))
    other = [k for a, k in ENTRY_KEYS.items() if a != arch][0]
    check(f"no entry point for the other architecture ('{other}')", False, other in by_key)
    entry = by_key[ENTRY_KEYS[arch]]
    check("entry point text is terminated", True, b"\0" in entry)
    name = entry.split(b"\0")[0].decode("ascii")
    check(f"entry point under '{ENTRY_KEYS[arch]}'", "PluginMain", name)
    check("entry point is exported", True, name in exports)
    for tag, expected in (("name", "iRelief"), ("catg", "Mirefold")):
        data = by_key[tag]
        check(f"'{tag}' length byte fits", True, 1 + data[0] <= len(data))
        check(tag, expected, data[1:1 + data[0]].decode("ascii"))
    # Hosts read the mode flags as bytes: grayscale 0x40, RGB 0x10, CMYK 0x08
    # in the first; Lab 0x40, Gray16 0x20, RGB48 0x10, Lab48 0x08, CMYK64
    # 0x04 in the second.
    check("mode flag bytes", "58 7c 00 00", by_key["mode"][:4].hex(" "))
    enable = by_key["enbl"]
    check("enable condition is terminated", True, b"\0" in enable)
    check("enable condition", "in (PSHOP_ImageMode, GrayScaleMode, RGBMode, CMYKMode, LabMode, Gray16Mode, "
          "RGB48Mode, Lab48Mode, CMYK64Mode)", enable.split(b"\0")[0].decode("ascii"))
    fici = by_key["fici"]
    check("filter case info size (7 cases x 4 bytes)", 28, len(fici))
    for case in range(7):
        inp, out, flags, reserved = fici[4 * case:4 * case + 4]
        check(f"filter case {case + 1} can be filtered", True, 1 <= inp <= 11 and 1 <= out <= 11)
        check(f"filter case {case + 1} flags", (0, 0), (flags, reserved))


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in MACHINES:
        sys.exit("usage: check_8bf.py FILE x86|x64")
    path, arch = sys.argv[1], sys.argv[2]
    with open(path, "rb") as f:
        image = Image(f.read())
    check("machine", hex(MACHINES[arch]), hex(image.machine))
    check("optional header kind", 0x20B if arch == "x64" else 0x10B, image.magic)
    check("is a DLL", True, bool(image.characteristics & 0x2000))
    exports = image.exports()
    check("exports", ["PluginMain"], exports)
    imports = image.imports()
    check("imports only system DLLs", [], [d for d in imports if d.lower() not in SYSTEM_DLLS])
    resources = image.resources()
    pipl = [key for key in resources if key[0] == "PIPL"]
    check("one PIPL resource", 1, len(pipl))
    if pipl:
        check("PIPL resource id", 16000, pipl[0][1])
        check_pipl(resources[pipl[0]], arch, exports)
    print(f"{failures} failure(s)")
    sys.exit(min(failures, 100))


if __name__ == "__main__":
    main()
