#!/usr/bin/env python3
"""The layer check itself: a tree of one feature's stages, one include at a time, must be let
through or refused as the stages' order says. Run by ctest (layers.stages)."""
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import check_layers  # noqa: E402

# (file that includes, header it includes, problems expected)
ROWS = [
    ("vector/draw/drawer.cpp", "vector/read/reader.h", 1),
    ("vector/play/player.cpp", "vector/draw/drawer.h", 1),
    ("vector/play/player.cpp", "vector/read/reader.h", 1),
    ("vector/draw/drawer.cpp", "vector/play/player.h", 1),
    ("vector/read/reader.cpp", "vector/draw/drawer.h", 0),
    ("vector/redraw.cpp", "vector/play/player.h", 0),
    ("vector/play/player.cpp", "vector/record.h", 0),
]


def problems_of(including, included):
    with tempfile.TemporaryDirectory() as root:
        src = Path(root) / "src"
        for header in ("vector/read/reader.h", "vector/draw/drawer.h", "vector/play/player.h",
                       "vector/record.h"):
            (src / header).parent.mkdir(parents=True, exist_ok=True)
            (src / header).write_text("#pragma once\n")
        (src / including).write_text(f'#include "{included}"\n')
        return check_layers.check(src)[1]


def main():
    failed = 0
    for including, included, expected in ROWS:
        found = problems_of(including, included)
        if len(found) != expected:
            failed += 1
            print(f"FAIL {including} -> {included}: expected {expected} problem(s), got {found}")
    print(f"{len(ROWS) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
