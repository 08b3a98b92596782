#!/usr/bin/env python3
"""Every #include of the program runs down the floors, never up or across, and the portable
ground floor stays free of the Windows API. Run as a test: check_layers.py SOURCE_DIR."""
import pathlib
import re
import sys

# Lowest first. A folder may include its own files and those of lower floors only.
FLOORS = [
    ["base"],
    ["toolkit"],
    ["picture/graphic"],
    ["picture/bmp"],
    ["picture/ico", "picture/metafile"],
    ["picture"],  # the picture container and the image control over every format below
    ["picture/jpeg", "picture/icongroup"],
    ["picture/png"],
    ["icowriter", "gif/codec", "skin/stored"],
    ["gif/colour", "skin/draw"],
    ["gif/show", "skin/menus", "skin/controls"],
    ["skin/frame"],
    ["skin/manager"],
    ["pages"],
    ["icons", "convert"],
    ["app"],
]
FLOOR_OF = {room: level for level, rooms in enumerate(FLOORS) for room in rooms}
PROGRAM_FOLDERS = {room.split("/")[0] for room in FLOOR_OF}
INCLUDE = re.compile(r'^\s*#\s*include\s+[<"]([^>"]+)[>"]', re.MULTILINE)


def room_of(path):
    folder = str(pathlib.PurePosixPath(path).parent)
    while folder not in FLOOR_OF and "/" in folder:
        folder = folder.rsplit("/", 1)[0]
    return folder if folder in FLOOR_OF else None


def faults(root):
    found = []
    for source in sorted(root.rglob("*")):
        if source.suffix not in (".cpp", ".h", ".c") or not source.is_file():
            continue
        relative = source.relative_to(root).as_posix()
        room = room_of(relative)
        if room is None:
            if relative.split("/")[0] in PROGRAM_FOLDERS:
                found.append(f"{relative}: a folder of no floor")
            continue
        for included in INCLUDE.findall(source.read_text(encoding="utf-8", errors="replace")):
            if room == "base" and (included.lower() == "windows.h" or included.endswith("_win.h")):
                found.append(f"{relative}: the portable floor includes {included}")
            target = room_of(included)
            if target is not None and target != room and FLOOR_OF[target] >= FLOOR_OF[room]:
                found.append(f"{relative}: {room} includes {included} of {target}, which is not below it")
    return found


if __name__ == "__main__":
    problems = faults(pathlib.Path(sys.argv[1]))
    print("\n".join(problems) or "every include runs down")
    sys.exit(1 if problems else 0)
