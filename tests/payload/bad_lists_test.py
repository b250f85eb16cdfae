#!/usr/bin/env python3
"""payload-list on bad payload lists: one list for each kind of fault, each
with a good line before the bad one. Every bad list must fail, leave no
resource script behind, and say which list, which line and what is wrong.
A list whose order no resource names can keep is not bad: it builds, with a
note for each line that moves.

    bad_lists_test.py PAYLOAD-LIST-TOOL
"""
import os
import subprocess
import sys
import tempfile

failures = 0


def check(what, ok, detail=""):
    global failures
    if not ok:
        failures += 1
        print(f"FAIL {what}{': ' + detail if detail else ''}")


def run(tool, folder, lines, name="test.list", options=()):
    path = os.path.join(folder, name)
    with open(path, "w") as f:
        f.write("".join(line + "\n" for line in lines))
    out = os.path.join(folder, "payload.rc")
    with open(out, "w") as f:
        f.write("// from an earlier build\n")
    result = subprocess.run([tool, "rc", *options, path, os.path.join(folder, "x86.8bf"),
                             os.path.join(folder, "x64.8bf"), out], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            text=True)
    return path, result, os.path.exists(out)


def installed_order(tool, rc, rtype):
    """The file names the installer writes for rtype, in the order it meets
    them: resource names in ascending order of their character codes, decoded
    by the installer's own rule."""
    names = []
    with open(rc) as f:
        for line in f:
            fields = line.split('"')
            if len(fields) == 5 and fields[2].strip() == rtype:
                names.append(fields[1])
    query = "".join(f"{rtype}\t{name}\n" for name in sorted(names))
    answer = subprocess.run([tool, "describe"], input=query, stdout=subprocess.PIPE, text=True).stdout
    return [fields[3] if fields[2] == "file" else fields[1] for fields in
            (line.split("\t") for line in answer.splitlines())]


def main():
    tool = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as folder:
        for name, data in (("x86.8bf", b"MZ32"), ("x64.8bf", b"MZ64"), ("notes.txt", b"notes\n"),
                           ("empty.txt", b""), ("short.bin", bytes(1535)), ("patterns.bin", bytes(1536))):
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
        os.mkdir(os.path.join(folder, "folder.txt"))
        good = "3000\tiRelief.8bf\t@PLUGIN_X86@"

        path, result, kept = run(tool, folder, ["# a comment", "", good, "3001\tiRelief(X64).8bf\t@PLUGIN_X64@",
                                                "3000\tRead Me.txt\tnotes.txt", "3001\tread me.txt\tnotes.txt\r"])
        check("a good list is accepted", result.returncode == 0 and kept, result.stderr)

        cases = [
            ("missing source", ["3000\tReadme.txt\tmissing.txt"], 'cannot read source "missing.txt"'),
            ("unreadable source", ["3000\tReadme.txt\tfolder.txt"], "not a file"),
            ("unknown placeholder", ["3000\tOther.8bf\t@PLUGIN_ARM@"], 'unknown placeholder "@PLUGIN_ARM@"'),
            ("empty source", ["3000\tReadme.txt\tempty.txt"], "is empty"),
            ("forbidden character", ["3000\tWhat?.txt\tnotes.txt"], "cannot be encoded: Windows does not allow"),
            ("character outside ASCII", ["3000\tCaf\u00e9.txt\tnotes.txt"], "only printable ASCII"),
            ("name too long", ["3000\t" + "a" * 399 + "\tnotes.txt"], "aaa...\" cannot be encoded: the resource name would be 400 characters or longer (it needs 400)"),
            ("same file name in another case", ["3000\tReadme.txt\tnotes.txt", "3000\tREADME.TXT\tnotes.txt"],
             'is the same file as "Readme.txt" of line 2 in type 3000'),
            ("short preset block", ["3000\tTiles PresetsPatternsbin\tshort.bin"], "needs 1536 bytes"),
            ("preset kind twice in a type", ["3000\tA PresetsPatternsbin\tpatterns.bin",
                                             "3000\tB PresetsPatternsbin\tpatterns.bin"],
             "writes the same registry values"),
            ("fields separated by spaces", ["3000 Readme.txt notes.txt"], "spaces do not separate fields"),
            ("four fields", ["3000\tReadme.txt\tnotes.txt\textra"], "expected 3 fields (TYPE, NAME, SOURCE)"),
            ("unknown type", ["3002\tReadme.txt\tnotes.txt"], 'unknown type "3002"'),
        ]
        for what, lines, phrase in cases:
            path, result, kept = run(tool, folder, [good] + lines)
            line = 1 + len(lines)
            print(f"{what}:\n    {result.stderr.strip()}")
            check(f"{what}: fails", result.returncode == 1, f"exit code {result.returncode}")
            check(f"{what}: no resource script is left", not kept)
            check(f"{what}: names the list and line {line}", f"{path}:{line}: " in result.stderr, result.stderr)
            check(f"{what}: says '{phrase}'", phrase in result.stderr, result.stderr)

        # An order that no name can keep builds all the same, in the order the
        # installer will meet the resources, with one note a moved line.
        moves = [
            ("order that no name can keep", ["3000\tReadme.txt\tnotes.txt", "3000\tLicense.txt\tnotes.txt",
                                              "3000\tAbout.txt\tnotes.txt"],
             ["iRelief.8bf", "Readme.txt", "About.txt", "License.txt"],
             {4: 'type 3000 writes "About.txt" before "License.txt" of line 3, out of the list\'s order: '
                 'no resource name for it sorts after "__LICENSE.TXT"'}),
            ("lines moved back past two kept ones, in their order where names allow it",
             ["3000\tReadme.txt\tnotes.txt", "3000\tMango.txt\tnotes.txt", "3000\tZebra.txt\tnotes.txt",
              "3000\tBanana Split.txt\tnotes.txt", "3000\tBanana Bread.txt\tnotes.txt", "3000\tApple.txt\tnotes.txt"],
             ["iRelief.8bf", "Readme.txt", "Apple.txt", "Banana Split.txt", "Banana Bread.txt", "Mango.txt",
              "Zebra.txt"],
             {5: 'writes "Banana Split.txt" before "Mango.txt" of line 3',
              6: 'writes "Banana Bread.txt" before "Mango.txt" of line 3',
              7: 'writes "Apple.txt" before "Mango.txt" of line 3'}),
        ]
        for what, lines, order, notes in moves:
            path, result, kept = run(tool, folder, [good] + lines)
            print(f"{what}:\n    {result.stderr.strip()}")
            check(f"{what}: builds", result.returncode == 0 and kept, result.stderr)
            said = result.stderr.splitlines()
            check(f"{what}: one note a moved line", len(said) == len(notes), result.stderr)
            for line, phrase in notes.items():
                check(f"{what}: notes line {line}",
                      any(s.startswith(f"{path}:{line}: note: ") and phrase in s for s in said), result.stderr)
            if kept:
                check(f"{what}: every line is installed, in the installer's order",
                      installed_order(tool, os.path.join(folder, "payload.rc"), "3000") == order,
                      str(installed_order(tool, os.path.join(folder, "payload.rc"), "3000")))

        # The 64-bit twin checks the same list again and leaves the notes to the first build.
        path, result, kept = run(tool, folder, [good] + moves[0][1], options=["--no-notes"])
        check("--no-notes builds without a note", result.returncode == 0 and kept and not result.stderr, result.stderr)

        path, result, kept = run(tool, folder, ["# nothing but a comment"])
        check("an empty list fails", result.returncode == 1 and "names no resource" in result.stderr, result.stderr)
        result = subprocess.run([tool, "rc", os.path.join(folder, "none.list"), "a", "b", os.path.join(folder, "o.rc")],
                                stderr=subprocess.PIPE, text=True)
        check("a missing list fails", result.returncode == 1 and "none.list: cannot read the payload list" in
              result.stderr, result.stderr)
    print(f"{failures} failure(s)")
    sys.exit(min(failures, 100))


if __name__ == "__main__":
    main()
