#!/usr/bin/env python3
"""Checks the layers and arrows of docs/architecture.md against the CMake links.

Each source folder's CMakeLists.txt links its targets to kelvarn_* libraries; every library
belongs to the folder whose CMakeLists.txt adds it. A link from a target of folder A to a library
of folder B is the arrow "A -> B". The map holds two fenced blocks:

- `layers`, the drawing: every folder on a line of its own, top-down, with the arrows that no
  longer path implies ("a -> b, c"; a folder that links nothing stands alone);
- `arrows`: every arrow, one "a -> b" a line.

The check fails on any folder or arrow that one side has and the other lacks.

    scripts/check-architecture.py            check, exit 1 on a difference
    scripts/check-architecture.py --print    print both blocks as the links give them
"""

import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
MAP = ROOT / "docs" / "architecture.md"
# Top folders with CMakeLists.txt that are not part of the layering (build folders neither).
NOT_LAYERED = {"tests", "fuzz", "bench"}
ARROW = re.compile(r"^\s*([\w/]+)\s*->\s*([\w/]+)\s*$")
LAYER = re.compile(r"^\s*([\w/]+)\s*(?:->\s*([\w/]+(?:\s*,\s*[\w/]+)*))?\s*$")


def source_folders():
    """Every layered folder with its CMakeLists.txt, named relative to the root."""
    folders = {}
    for top in sorted(ROOT.iterdir()):
        if not top.is_dir() or top.name in NOT_LAYERED or top.name.startswith((".", "build")):
            continue
        for cmake in sorted(top.glob("**/CMakeLists.txt")):
            folders[cmake.parent.relative_to(ROOT).as_posix()] = cmake.read_text()
    return folders


def calls(text, command):
    """The argument lists of every call of `command`, comments removed, as lists of words."""
    text = re.sub(r"#[^\n]*", "", text)
    pattern = re.compile(r"\b" + command + r"\s*\(([^)]*)\)", re.IGNORECASE)
    return [match.group(1).split() for match in pattern.finditer(text)]


def links():
    """The arrows as the CMake files give them, as a set of (from, to) folder pairs."""
    folders = source_folders()
    owner = {}
    for folder, text in folders.items():
        for words in calls(text, "add_library"):
            if words and words[0].startswith("kelvarn_"):
                owner[words[0]] = folder
    arrows = set()
    for folder, text in folders.items():
        for words in calls(text, "target_link_libraries"):
            for library in words[1:]:
                target = owner.get(library)
                if target and target != folder:
                    arrows.add((folder, target))
    unknown = {
        library
        for text in folders.values()
        for words in calls(text, "target_link_libraries")
        for library in words[1:]
        if library.startswith("kelvarn_") and library not in owner and library != "kelvarn_warnings"
    }
    if unknown:
        sys.exit("no folder adds " + ", ".join(sorted(unknown)))
    return arrows


def drawn(arrows):
    """The arrows that no longer path implies: the ones a drawing shows."""
    below = {}
    for a, b in arrows:
        below.setdefault(a, set()).add(b)

    def reachable(start, skip):
        seen, todo = set(), [b for b in below.get(start, ()) if b != skip]
        while todo:
            folder = todo.pop()
            if folder not in seen:
                seen.add(folder)
                todo.extend(below.get(folder, ()))
        return seen

    return {(a, b) for a, b in arrows if b not in reachable(a, b)}


def block_lines(name, pattern, shape):
    """The matches of the lines of the map's fenced block `name`."""
    match = re.search(r"^```" + name + r"\n(.*?)^```", MAP.read_text(), re.MULTILINE | re.DOTALL)
    if not match:
        sys.exit(f"{MAP.relative_to(ROOT)}: no ```{name} block")
    lines = []
    for number, line in enumerate(match.group(1).splitlines(), 1):
        if not line.strip():
            continue
        parsed = pattern.match(line)
        if not parsed:
            sys.exit(f"{MAP.relative_to(ROOT)}: {name} line {number} is not '{shape}': {line}")
        lines.append(parsed)
    return lines


def documented_arrows():
    return {(m.group(1), m.group(2)) for m in block_lines("arrows", ARROW, "a -> b")}


def documented_layers():
    """The drawing's folders and its arrows."""
    folders, arrows = set(), set()
    for m in block_lines("layers", LAYER, "a -> b, c"):
        folders.add(m.group(1))
        for target in (m.group(2) or "").split(","):
            if target.strip():
                arrows.add((m.group(1), target.strip()))
    return folders, arrows


def depth(arrows):
    """Each folder's layer counted from the bottom, so that the block reads top-down."""
    below = {}
    for a, b in arrows:
        below.setdefault(a, set()).add(b)
    memo = {}

    def of(folder):
        if folder not in memo:
            memo[folder] = 1 + max((of(b) for b in below.get(folder, ())), default=-1)
        return memo[folder]

    return of


def ordered(arrows):
    """Top-down: by the layer of the arrow's start, then of its end."""
    of = depth(arrows)
    return sorted(arrows, key=lambda arrow: (-of(arrow[0]), arrow[0], -of(arrow[1]), arrow[1]))


def layers_block(folders, arrows):
    of = depth(arrows)
    targets = {}
    for a, b in ordered(arrows):
        targets.setdefault(a, []).append(b)
    width = max(len(folder) for folder in folders)
    lines = []
    for folder in sorted(folders, key=lambda folder: (-of(folder), folder not in targets, folder)):
        if folder in targets:
            lines.append(f"{folder:<{width}} -> " + ", ".join(targets[folder]))
        else:
            lines.append(folder)
    return "\n".join(lines)


def compare(what, actual, written, show):
    for item in sorted(actual - written):
        print(f"missing from the {what}: {show(item)}")
    for item in sorted(written - actual):
        print(f"in the {what} but not in CMake: {show(item)}")
    return actual == written


def main():
    folders = set(source_folders())
    actual = links()
    if "--print" in sys.argv[1:]:
        print("```layers\n" + layers_block(folders, drawn(actual)) + "\n```\n")
        print("```arrows\n" + "\n".join(f"{a} -> {b}" for a, b in ordered(actual)) + "\n```")
        return 0
    drawn_folders, drawn_arrows = documented_layers()
    arrow = lambda pair: f"{pair[0]} -> {pair[1]}"
    same = compare("drawing's folders", folders, drawn_folders, str)
    same &= compare("drawing", drawn(actual), drawn_arrows, arrow)
    same &= compare("arrows block", actual, documented_arrows(), arrow)
    if not same:
        print(f"{MAP.relative_to(ROOT)} differs from the CMake links; "
              "scripts/check-architecture.py --print gives both blocks")
        return 1
    print(f"{MAP.relative_to(ROOT)}: the drawing ({len(folders)} folders, {len(drawn_arrows)} "
          f"arrows) and the {len(actual)} arrows match the CMake links")
    return 0


if __name__ == "__main__":
    sys.exit(main())
