#!/usr/bin/env python3
"""Checks that the project's includes run one way: app/ may use the
subsystems and the resource ids (res/), a subsystem (payload/, discovery/,
jui/) only its own folder and common/, common/ and the filter (plugin/)
nothing else of the project; and that no two files of the product include
each other through any chain. A class whose methods are spread over several
files counts as one unit with its header, so a loop through any of them is
found. Prints the folder graph.
   check-includes.py SOURCE_DIR"""
import os
import re
import sys

ALLOWED = {
    "common": {"common"},
    "payload": {"payload", "common"},
    "discovery": {"discovery", "common"},
    "jui": {"jui", "common"},
    "app": {"app", "common", "payload", "discovery", "jui", "res"},
    "plugin": {"plugin"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
# A class or struct with a body, in a header.
CLASS = re.compile(r'^\s*(?:class|struct)\s+(\w+)\b[^;{]*\{', re.M)
# A method defined at file level: "... Class::Method(" on a line that starts
# in the first column.
METHOD = re.compile(r'^(?![ \t])[\w:<>*&, ]*?\b(\w+)::~?\w+\s*\(', re.M)


def resolve(root, folder, name):
    for candidate in (os.path.join(root, folder, name), os.path.join(root, name)):
        if os.path.isfile(candidate):
            return os.path.relpath(os.path.normpath(candidate), root)
    return None


def main():
    root = sys.argv[1]
    edges = {}
    texts = {}
    for part in ALLOWED:
        for entry in sorted(os.listdir(os.path.join(root, part))):
            if not entry.endswith((".h", ".cpp")):
                continue
            path = f"{part}/{entry}"
            with open(os.path.join(root, path), encoding="utf-8") as f:
                texts[path] = f.read()
            names = INCLUDE.findall(texts[path])
            edges[path] = [t for t in (resolve(root, part, n) for n in names) if t]

    faults = []
    folders = {}
    for source, targets in edges.items():
        for target in targets:
            a, b = source.split("/")[0], target.split("/")[0]
            folders.setdefault(a, set()).add(b)
            if b not in ALLOWED.get(a, set()):
                faults.append(f"{source} includes {target}: {a}/ may not use {b}/")

    # Loops between files: a header chain that comes back to where it started,
    # or two sources whose headers each need the other's (through .h/.cpp pairs).
    # A source that defines methods of a class declared in another file's
    # header belongs to that header's unit.
    def stem(path):
        return os.path.splitext(path)[0]
    declared = {}
    for path, text in texts.items():
        if path.endswith(".h"):
            for name in CLASS.findall(text):
                declared.setdefault(name, stem(path))
    owner = {}
    for path, text in texts.items():
        if path.endswith(".cpp"):
            for name in METHOD.findall(text):
                home = declared.get(name)
                if home and home != stem(path) and home.split("/")[0] == path.split("/")[0]:
                    owner[stem(path)] = home

    def unit(path):
        return owner.get(stem(path), stem(path))
    graph = {}
    for source, targets in edges.items():
        graph.setdefault(unit(source), set()).update(unit(t) for t in targets if unit(t) != unit(source))
    state = {}

    def visit(node, stack):
        state[node] = 1
        stack.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == 1:
                faults.append("loop: " + " -> ".join(stack[stack.index(nxt):] + [nxt]))
            elif nxt not in state:
                visit(nxt, stack)
        stack.pop()
        state[node] = 2

    for node in sorted(graph):
        if node not in state:
            visit(node, [])

    for a in sorted(folders):
        print(f"{a}/ -> " + ", ".join(f"{b}/" for b in sorted(folders[a] - {a})) if folders[a] - {a} else f"{a}/ -> (own folder only)")
    for fault in faults:
        print("include fault: " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
