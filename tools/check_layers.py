#!/usr/bin/env python3
"""Check that the sources under src/ keep to their layers.

Usage: python3 tools/check_layers.py [SRC_DIR]   (default: src/ beside tools/)
Prints "layers: N files, 0 problems" and exits 0 when clean; otherwise prints
one "path:line: problem" per problem and exits 1.
"""
import re
import sys
from pathlib import Path

# Source folders from the top down; folders on one line are one level.
# The shell knows every feature and wires them together. Features never know
# each other, so one can change or go without touching the rest; whatever they
# share lives in state. Platform wraps Win32 for everyone above it, and core is
# plain C++ that builds and tests natively with no Windows in sight.
LAYERS = [
    ["shell"],
    ["ruler", "capture", "sizing", "vector", "dialogs", "measure"],
    ["state"],
    ["platform"],
    ["core"],
]
LEVEL = {folder: level for level, folders in enumerate(LAYERS) for folder in folders}

# Stages inside a feature, each a folder of its own, and which other stages each may include.
# The re-drawing reads a window into records, draws records as parts and plays parts: a drawer
# never reaches for Win32's readers or a player's device, and a player never knows the drawers,
# so each stage can change without the others. The readers consult the drawers' class table.
# The feature's own top folder (the shared records and parts, the orchestration) may include
# every stage.
STAGES = {
    "vector": {"read": {"draw"}, "draw": set(), "play": set()},
}

SOURCE_SUFFIXES = {".h", ".hpp", ".c", ".cc", ".cpp"}
# Headers that drag Win32 in: only *_win files may use them, so that every
# other file still compiles on a plain native toolchain for the unit tests.
WIN32_HEADERS = {"windows.h", "windowsx.h", "shellapi.h", "commctrl.h", "commdlg.h"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def is_win(name):
    return name.endswith("_win.h") or name.endswith("_win.cpp")


def find_loops(graph):
    """Every elementary cycle once, started from its smallest folder."""
    loops = []

    def walk(start, node, path):
        for nxt in sorted(graph.get(node, ())):
            if nxt == start:
                loops.append(path + [start])
            elif nxt > start and nxt not in path:
                walk(start, nxt, path + [nxt])

    for start in sorted(graph):
        walk(start, start, [start])
    return loops


def check(src):
    res = src.parent / "res"  # resource.h and friends, shared with the .rc
    problems = []
    edges = {}  # (from folder, to folder) -> first "path:line" that makes it

    for d in sorted(p for p in src.iterdir() if p.is_dir() and not p.name.startswith(".")):
        if d.name not in LEVEL:
            problems.append(f"{src.name}/{d.name}/: folder is not in the layer table "
                            "(place it in LAYERS deliberately)")
        for sub in sorted(p for p in d.iterdir() if p.is_dir() and not p.name.startswith(".")):
            if sub.name not in STAGES.get(d.name, {}):
                problems.append(f"{src.name}/{d.name}/{sub.name}/: folder is not in the stage "
                                "table (place it in STAGES deliberately)")

    files = sorted(p for p in src.rglob("*") if p.is_file() and p.suffix in SOURCE_SUFFIXES)
    for path in files:
        rel = path.relative_to(src)
        shown = f"{src.name}/{rel.as_posix()}"
        folder = rel.parts[0] if len(rel.parts) > 1 else None
        stage = rel.parts[1] if len(rel.parts) > 2 else None
        if folder is None:
            problems.append(f"{shown}: file is not inside a layer folder")
        text = path.read_text(encoding="utf-8", errors="replace")
        for number, line in enumerate(text.splitlines(), 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            quoted, name = m.group(1) == '"', m.group(2).strip()
            where = f"{shown}:{number}"
            spelled = name if quoted else f"<{name}>"
            base = name.rsplit("/", 1)[-1].lower()

            if folder == "core" and (base == "windows.h" or base.endswith("_win.h")):
                problems.append(f"{where}: includes {spelled} (core is plain C++, no Win32)")
            elif not is_win(path.name) and (base in WIN32_HEADERS or base.endswith("_win.h")):
                problems.append(f"{where}: includes {spelled} in a plain file "
                                "(only *_win files may use Win32)")

            if not quoted:
                continue  # a system header: not ours to layer
            if (src / name).is_file():
                parts = Path(name).parts
                target = parts[0] if len(parts) > 1 else None
                target_stage = parts[1] if len(parts) > 2 else None
            elif (res / name).is_file() or (res / (name + ".in")).is_file():
                continue  # resources, and what CMake makes from them, sit below everything
            else:
                problems.append(f"{where}: includes {name}, which is under neither "
                                f"{src.name}/ nor res/")
                continue
            if folder is None or target is None:
                continue
            if target == folder:
                allowed = STAGES.get(folder, {}).get(stage, set())
                if stage and target_stage and target_stage != stage and target_stage not in allowed:
                    problems.append(f"{where}: includes {name} ({folder}/{stage} may not use "
                                    f"{folder}/{target_stage})")
                continue
            edges.setdefault((folder, target), where)
            if folder in LEVEL and target in LEVEL and LEVEL[target] <= LEVEL[folder]:
                problems.append(f"{where}: includes {name} ({target} is not below {folder})")

    # The layer check above already forbids loops, but only as long as the
    # table is right; looking at the folder graph itself keeps a loop from
    # slipping through a careless edit of LAYERS.
    graph = {}
    for a, b in edges:
        graph.setdefault(a, set()).add(b)
    for loop in find_loops(graph):
        steps = list(zip(loop, loop[1:]))
        evidence = ", ".join(f"{a} -> {b} at {edges[a, b]}" for a, b in steps[1:])
        problems.append(f"{edges[steps[0]]}: include loop {' -> '.join(loop)}"
                        + (f" ({evidence})" if evidence else ""))
    return len(files), problems


def main():
    default = Path(__file__).resolve().parent.parent / "src"
    src = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    if not src.is_dir():
        print(f"check_layers: no source folder at {src}", file=sys.stderr)
        return 2
    count, problems = check(src.resolve())
    for problem in problems:
        print(problem)
    n = len(problems)
    print(f"layers: {count} files, {n} problem{'' if n == 1 else 's'}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
