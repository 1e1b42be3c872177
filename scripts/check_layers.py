#!/usr/bin/env python3
"""Holds the source folders to their layers.

Each folder of src/ may include its own files and those of the folders it
uses below, directly or through them; never a folder above it, so that no
two folders depend on each other. The table is the one docs/design.md
draws. Prints every include against it with file and line, and exits 1.

    check_layers.py [SRC_DIR]
"""
import os
import re
import sys

# Folder -> the folders right below it that it may use (and what those use).
USES = {
    # The device core: QtCore and QtNetwork only.
    "snmp": [],
    "config": ["snmp"],
    "traps": ["config"],
    "agent": ["traps"],
    "settings": ["agent"],
    # The simulated access point, on the core.
    "sim": ["agent"],
    # The command-line tool, on the core alone.
    "ctl": ["settings"],
    # The Prometheus exporter, on the core.
    "exporter": ["settings"],
    # The windows.
    "widgets": ["settings"],
    "dialogs": ["widgets"],
    "radiotest": ["dialogs"],
    "quicksetup": ["dialogs"],
    "app": ["quicksetup", "radiotest", "sim"],
}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def reachable(folder, seen=None):
    seen = set() if seen is None else seen
    for lower in USES.get(folder, []):
        if lower not in seen:
            seen.add(lower)
            reachable(lower, seen)
    return seen


def table_cycle():
    for folder in USES:
        if folder in reachable(folder):
            return folder
    return None


def included_folder(src, including_dir, target):
    """The src/ folder an include names, or None (a Qt or generated header)."""
    beside = os.path.normpath(os.path.join(including_dir, target))
    if os.path.isfile(beside):
        rel = os.path.relpath(beside, src)
    elif os.path.isfile(os.path.join(src, target)):
        rel = os.path.normpath(target)
    else:
        return None
    parts = rel.split(os.sep)
    return parts[0] if len(parts) > 1 and parts[0] != ".." else None


def check(src):
    problems = []
    cycle = table_cycle()
    if cycle:
        problems.append(f"{__file__}: the layer table makes '{cycle}' use itself")
    folders = sorted(d for d in os.listdir(src) if os.path.isdir(os.path.join(src, d)))
    for folder in folders:
        if folder not in USES:
            problems.append(f"src/{folder}: no layer; give it one in {os.path.basename(__file__)} and docs/design.md")
            continue
        allowed = reachable(folder) | {folder}
        for root, _, files in os.walk(os.path.join(src, folder)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(root, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        target = included_folder(src, root, m.group(1))
                        if target and target not in allowed:
                            problems.append(f"{os.path.relpath(path, os.path.dirname(src))}:{number}: "
                                            f"{folder}/ may not include {target}/ (\"{m.group(1)}\")")
    return problems


def main():
    src = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src"))
    problems = check(src)
    for p in problems:
        print(p)
    if problems:
        return 1
    print(f"{len(USES)} folders, every include along the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
