#!/usr/bin/env python3
"""The include checker against small trees with known faults: a loop that
runs through a class's methods defined in a file of their own, a filter
source reaching into the installer's folders, and a clean tree.
   includes_test.py CHECKER"""
import os
import subprocess
import sys
import tempfile

FOLDERS = ("common", "payload", "discovery", "jui", "app", "plugin")


def run(checker, files):
    with tempfile.TemporaryDirectory() as root:
        for folder in FOLDERS:
            os.makedirs(os.path.join(root, folder))
        for path, text in files.items():
            with open(os.path.join(root, path), "w", encoding="utf-8") as f:
                f.write(text)
        done = subprocess.run([sys.executable, checker, root], capture_output=True, text=True)
        return done.returncode, done.stdout


def main():
    checker = sys.argv[1]
    failures = []

    def expect(what, files, code, needle):
        rc, out = run(checker, files)
        if rc != code or (needle and needle not in out):
            failures.append(f"{what}: expected exit {code} and {needle!r}, got {rc}:\n{out}")

    panel = {
        "jui/Panel.h": "class Panel {\n public:\n  void Paint();\n  void Keys();\n};\n",
        "jui/Panel.cpp": '#include "jui/Panel.h"\nvoid Panel::Paint() {}\n',
        "jui/Bridge.h": "class Panel;\nclass Bridge {\n public:\n  void Ask(Panel* p);\n};\n",
    }
    expect("a loop through a method file", dict(panel, **{
        "jui/PanelKeys.cpp": '#include "jui/Bridge.h"\n#include "jui/Panel.h"\nvoid Panel::Keys() {}\n',
        "jui/Bridge.cpp": '#include "jui/Bridge.h"\n#include "jui/Panel.h"\nvoid Bridge::Ask(Panel* p) { p->Paint(); }\n',
    }), 1, "loop: jui/Bridge -> jui/Panel -> jui/Bridge")
    expect("one direction", dict(panel, **{
        "jui/PanelKeys.cpp": '#include "jui/Bridge.h"\n#include "jui/Panel.h"\nvoid Panel::Keys() {}\n',
        "jui/Bridge.cpp": '#include "jui/Bridge.h"\nvoid Bridge::Ask(Panel*) {}\n',
    }), 0, "")
    expect("the filter reaching out", {
        "common/Shared.h": "int Shared();\n",
        "plugin/Filter.cpp": '#include "common/Shared.h"\nint Filter() { return Shared(); }\n',
    }, 1, "plugin/ may not use common/")

    for failure in failures:
        print("FAIL " + failure)
    print(f"{3 - len(failures)} of 3 trees judged as expected")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
