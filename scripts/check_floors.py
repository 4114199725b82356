#!/usr/bin/env python3
"""Fails when folders of one floor include each other in a circle.

The floors (add_floor in CMakeLists.txt) keep includes from going up: a
wrong-way include finds no header and does not build. Inside a floor every
folder sees every other, so nothing stops two of them from leaning on each
other. This check does: it reads each folder's includes of the other folders
of its floor and reports every circle among them (a includes b includes a;
a, b, c round), naming one include that makes each step, and exits 1.

    scripts/check_floors.py [--root DIR]    # DIR holds CMakeLists.txt and src/
    scripts/check_floors.py --self-test     # the check finds a circle it is shown

CTest runs it (FloorFoldersIncludeOneWay), so ./test.sh and CI do.
"""
import os
import re
import sys
import tempfile

FLOOR_RE = re.compile(r"^\s*add_floor\(\s*(\w+)\s+FOLDERS\s+([^)]*?)(?:\s+USES\s+[^)]*)?\)", re.M)
INCLUDE_RE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]+"', re.M)
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".inl")


def read_floors(root):
    """{floor: [folder, ...]} in the order CMakeLists.txt names them."""
    with open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8") as f:
        text = f.read()
    floors = {}
    for name, folders in FLOOR_RE.findall(text):
        floors[name] = folders.split()
    return floors


def folder_edges(root, folder, siblings):
    """{other folder: first 'file:line' that includes it} for folder's includes of its siblings."""
    edges = {}
    base = os.path.join(root, "src", folder)
    for dirpath, dirnames, filenames in os.walk(base):
        dirnames.sort()
        for name in sorted(filenames):
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.join(dirpath, name)
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE_RE.match(line)
                    if m and m.group(1) != folder and m.group(1) in siblings and m.group(1) not in edges:
                        edges[m.group(1)] = "%s:%d" % (os.path.relpath(path, root), number)
    return edges


def strongly_connected(nodes, edges):
    """The graph's strongly connected parts of more than one folder (Tarjan)."""
    index, low, on_stack, stack, parts = {}, {}, set(), [], []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in edges.get(v, {}):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            part = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                part.append(w)
                if w == v:
                    break
            if len(part) > 1:
                parts.append(sorted(part))

    for v in nodes:
        if v not in index:
            visit(v)
    return parts


def a_circle(part, edges):
    """One circle through the part's first folder, as a list of folders ending where it began."""
    start = part[0]
    members = set(part)
    path, seen = [start], {start}

    def walk(v):
        for w in sorted(edges.get(v, {})):
            if w == start:
                return True
            if w in members and w not in seen:
                seen.add(w)
                path.append(w)
                if walk(w):
                    return True
                path.pop()
        return False

    walk(start)
    return path + [start]


def find_circles(root):
    """Lines describing each circle; empty when there is none."""
    report = []
    for floor, folders in read_floors(root).items():
        siblings = set(folders)
        edges = {f: folder_edges(root, f, siblings) for f in folders}
        for part in strongly_connected(folders, edges):
            circle = a_circle(part, edges)
            line = "floor %s: %s" % (floor, " -> ".join("src/%s/" % f for f in circle))
            if len(part) > len(circle) - 1:
                line += " (circles join %s)" % ", ".join("src/%s/" % f for f in part)
            report.append(line)
            for a, b in zip(circle, circle[1:]):
                report.append("  src/%s/ includes src/%s/ at %s" % (a, b, edges[a][b]))
    return report


def self_test():
    """Shows the check a floor with a circle of three and one without."""
    with tempfile.TemporaryDirectory() as root:
        def write(path, text):
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as f:
                f.write(text)

        write("CMakeLists.txt", "add_floor(low FOLDERS a b c USES x)\nadd_floor(high FOLDERS d e USES low)\n")
        write("src/a/a.h", '#include "b/b.h"\n')
        write("src/b/b.cpp", '#include <vector>\n#include "c/c.h"\n')
        write("src/c/c.h", '#pragma once\n#include "a/a.h"\n')
        write("src/d/d.cpp", '#include "e/e.h"\n#include "a/a.h"\n')
        write("src/e/e.h", '#include "a/a.h"\n')
        found = find_circles(root)
        expected = [
            "floor low: src/a/ -> src/b/ -> src/c/ -> src/a/",
            "  src/a/ includes src/b/ at src/a/a.h:1",
            "  src/b/ includes src/c/ at src/b/b.cpp:2",
            "  src/c/ includes src/a/ at src/c/c.h:2",
        ]
        if found != expected:
            print("check_floors self-test: expected\n  %s\nfound\n  %s" % ("\n  ".join(expected), "\n  ".join(found)))
            return 1
        write("src/c/c.h", "#pragma once\n")
        if find_circles(root):
            print("check_floors self-test: a floor without circles was reported")
            return 1
    print("check_floors self-test: ok")
    return 0


def main(argv):
    if "--self-test" in argv:
        return self_test()
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    if "--root" in argv:
        root = argv[argv.index("--root") + 1]
    report = find_circles(root)
    if report:
        print("folders of one floor include each other in a circle; make each dependency one-way:")
        print("\n".join(report))
        return 1
    print("no folder includes another of its floor that includes it back")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
