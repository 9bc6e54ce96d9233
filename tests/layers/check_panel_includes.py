#!/usr/bin/env python3
"""Holds panel/ to its shape: the window and its collaborators.

The panel window is TMainPanel: its header panel/sysmain.h, its sources
panel/sysmain_win.cpp and panel/panel_*_win.cpp, and the program entry
panel/tilerack.cpp. Every other file of panel/ is a collaborator (or a
portable model) and sees the panel only through the interface it declares
itself, so this check refuses

  - a file of panel/ outside the window's own that includes panel/sysmain.h,
  - a cycle among the includes of panel/'s files.

  check_panel_includes.py ROOT    checks ROOT/panel; exit status 1 on a refusal
  check_panel_includes.py --self-test ROOT
                                  plants a collaborator that includes
                                  sysmain.h and two headers that include
                                  each other into a copy of ROOT/panel;
                                  passes when exactly those are refused
"""
import os
import re
import shutil
import sys
import tempfile

CHIEF = "panel/sysmain.h"
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)
OWN = re.compile(r"^(sysmain\.h|sysmain_win\.cpp|panel_\w+_win\.cpp|tilerack\.cpp)$")


def read_includes(root):
    """Each file of panel/ with the files of panel/ it includes."""
    graph = {}
    folder = os.path.join(root, "panel")
    for name in sorted(os.listdir(folder)):
        if not name.endswith((".h", ".cpp")):
            continue
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            found = INCLUDE.findall(f.read())
        graph["panel/" + name] = [i for i in found if i.startswith("panel/")]
    return graph


def panel_seen_by_collaborators(graph):
    return sorted(f for f, includes in graph.items()
                  if CHIEF in includes and not OWN.match(os.path.basename(f)))


def cycles(graph):
    """The files on an include cycle, each cycle once, as a path."""
    found, state = [], {}

    def visit(node, path):
        state[node] = "open"
        for nxt in graph.get(node, []):
            if state.get(nxt) == "open":
                found.append(path[path.index(nxt):] + [nxt])
            elif nxt not in state:
                visit(nxt, path + [nxt])
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            visit(node, [node])
    return found


def check_tree(root, out=sys.stdout):
    """The refused files, each reported on `out`."""
    graph = read_includes(root)
    refused = set()
    for f in panel_seen_by_collaborators(graph):
        out.write("%s: a collaborator includes %s; declare what it needs of the panel in its own Host\n" % (f, CHIEF))
        refused.add(f)
    for path in cycles(graph):
        out.write("include cycle: %s\n" % " -> ".join(path))
        refused.update(path)
    return refused


PLANTED = {
    "panel/planted_peek_win.cpp": '#include "panel/sysmain.h"\n',
    "panel/planted_ring_a.h": '#pragma once\n#include "panel/planted_ring_b.h"\n',
    "panel/planted_ring_b.h": '#pragma once\n#include "panel/planted_ring_a.h"\n',
}


def self_test(root):
    with tempfile.TemporaryDirectory() as scratch:
        shutil.copytree(os.path.join(root, "panel"), os.path.join(scratch, "panel"))
        for name, text in PLANTED.items():
            with open(os.path.join(scratch, name), "w", encoding="utf-8") as f:
                f.write(text)
        report = []

        class Lines:
            def write(self, text):
                report.append(text)

        refused = check_tree(scratch, Lines())
    if refused != set(PLANTED):
        print("refused %s, planted %s" % (sorted(refused), sorted(PLANTED)))
        print("".join(report), end="")
        return 1
    return 0


def main(argv):
    if len(argv) == 3 and argv[1] == "--self-test":
        return self_test(argv[2])
    if len(argv) == 2:
        return 1 if check_tree(argv[1]) else 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
