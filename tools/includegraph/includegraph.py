#!/usr/bin/env python3
"""Prints which subsystem folder includes which, and fails on a cycle or an
include that reaches up.

    python3 tools/includegraph/includegraph.py [SOURCE_DIR]

The subsystems are the folders the top CMakeLists.txt adds before tools/, in
that order, lowest first; each may include only itself and folders listed
before it. Every line of the graph is a folder, the folders it includes and how
many include lines lead there. Exit status 1 names each cycle and each upward
include (with the files that make it)."""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^/"]+)/[^"]+"', re.MULTILINE)
SUBDIRECTORY = re.compile(r"^add_subdirectory\((\w+)\)", re.MULTILINE)
SOURCE_SUFFIXES = (".h", ".cpp", ".c", ".inc", ".S")


def subsystems(root):
    """The library folders in build order, up to the first that is not one (tools/)."""
    with open(os.path.join(root, "CMakeLists.txt")) as top:
        folders = SUBDIRECTORY.findall(top.read())
    return folders[: folders.index("tools")] if "tools" in folders else folders


def include_edges(root, folders):
    """{(from, to): [files]} for every include of another subsystem's header."""
    edges = {}
    for folder in folders:
        for directory, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(directory, name)
                with open(path, errors="replace") as source:
                    targets = INCLUDE.findall(source.read())
                for target in targets:
                    if target in folders and target != folder:
                        edges.setdefault((folder, target), []).append(os.path.relpath(path, root))
    return edges


def cycles(folders, edges):
    """Every cycle of the graph, once each, as a list of folders."""
    found = []
    successors = {folder: sorted(t for f, t in edges if f == folder) for folder in folders}

    def walk(path):
        for nxt in successors[path[-1]]:
            if nxt == path[0]:
                found.append(list(path))
            elif nxt not in path and folders.index(nxt) > folders.index(path[0]):
                walk(path + [nxt])

    # A cycle is reported from its lowest folder only, so each appears once.
    for folder in folders:
        walk([folder])
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    folders = subsystems(root)
    edges = include_edges(root, folders)
    for folder in reversed(folders):
        targets = sorted((t for f, t in edges if f == folder), key=folders.index, reverse=True)
        listed = ", ".join("%s (%d)" % (t, len(edges[(folder, t)])) for t in targets)
        print("%-16s -> %s" % (folder, listed or "nothing"))
    failures = []
    for cycle in cycles(folders, edges):
        failures.append("cycle: " + " -> ".join(cycle + [cycle[0]]))
    for (source, target), files in sorted(edges.items()):
        if folders.index(target) > folders.index(source):
            failures.append("%s includes %s, which comes after it: %s" % (source, target, ", ".join(files)))
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
