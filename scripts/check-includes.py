#!/usr/bin/env python3
"""Checks that the project's includes run one way: app/ may use the
subsystems, a subsystem (payload/, discovery/, jui/) only its own folder and
common/, and common/ nothing of the project; and that no two files of the
product include each other through any chain. Prints the folder graph.
   check-includes.py SOURCE_DIR"""
import os
import re
import sys

ALLOWED = {
    "common": {"common"},
    "payload": {"payload", "common"},
    "discovery": {"discovery", "common"},
    "jui": {"jui", "common"},
    "app": {"app", "common", "payload", "discovery", "jui"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def resolve(root, folder, name):
    for candidate in (os.path.join(root, folder, name), os.path.join(root, name)):
        if os.path.isfile(candidate):
            return os.path.relpath(os.path.normpath(candidate), root)
    return None


def main():
    root = sys.argv[1]
    edges = {}
    for part in ALLOWED:
        for entry in sorted(os.listdir(os.path.join(root, part))):
            if not entry.endswith((".h", ".cpp")):
                continue
            path = f"{part}/{entry}"
            with open(os.path.join(root, path), encoding="utf-8") as f:
                names = INCLUDE.findall(f.read())
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
    def unit(path):
        return os.path.splitext(path)[0]
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
