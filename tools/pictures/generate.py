#!/usr/bin/python3
"""Paints the game's pictures and icons into resources/.

Usage: tools/pictures/generate.py [NAME ...]   (no names: all of them)
Deterministic: every random field comes from a fixed seed, so a second run writes the same bytes.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import backgrounds  # noqa: E402
import icons  # noqa: E402
import lettering  # noqa: E402
import sprites  # noqa: E402
import tiles  # noqa: E402
from paint import save_bmp, save_ico, save_png  # noqa: E402

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
PICTURES = os.path.join(ROOT, "resources", "pictures")
ICONS = os.path.join(ROOT, "resources", "icons")

# name: (size, painter); sizes are fixed by where the game draws each picture.
PICTURES_TABLE = {
    "BITMAP_1": ((200, 150), lettering.bitmap_1),
    "BLKBMP": ((380, 67), lettering.blkbmp),
    "FORBMP": ((350, 57), lettering.forbmp),
    "SPIDER": ((40, 40), sprites.spider),
    "BOMB": ((20, 30), tiles.bomb),
    "FLAME": ((60, 60), tiles.flame),
    "KESTA": ((409, 428), backgrounds.kesta),
    "COOP": ((409, 428), backgrounds.coop),
    "MORVO": ((409, 428), backgrounds.morvo),
    "WORSE": ((20, 20), tiles.worse),
    "DUCKY": ((200, 50), sprites.ducky),
    "TITAN": ((426, 122), sprites.titan),
}

ICONS_TABLE = {
    "blokfall-64": lambda: icons.game_icon(64),
    "blokfall-256": lambda: icons.game_icon(256),
    "blokinst-64": lambda: icons.installer_icon(64),
}


# Windows icons, put together from the icons above: the sizes a window, the taskbar and Explorer ask
# for.
ICO_TABLE = {
    "blokfall": ["blokfall-16", "blokfall-24", "blokfall-32", "blokfall-48", "blokfall-64",
                 "blokfall-256"],
    "blokinst": [("blokinst-64", 16), ("blokinst-64", 32), ("blokinst-64", 48), "blokinst-64"],
}


def icon_image(entry):
    from PIL import Image
    name, size = entry if isinstance(entry, tuple) else (entry, None)
    im = Image.open(os.path.join(ICONS, name + ".png")).convert("RGBA")
    return im.resize((size, size), Image.LANCZOS) if size else im


def main(names):
    os.makedirs(PICTURES, exist_ok=True)
    os.makedirs(ICONS, exist_ok=True)
    known = set(PICTURES_TABLE) | set(ICONS_TABLE) | set(ICO_TABLE)
    unknown = [n for n in names if n not in known]
    if unknown:
        sys.exit("unknown picture: " + ", ".join(unknown))
    for name, (size, painter) in PICTURES_TABLE.items():
        if not names or name in names:
            save_bmp(painter(), os.path.join(PICTURES, name + ".bmp"), size)
            print(name)
    for name, painter in ICONS_TABLE.items():
        if not names or name in names:
            save_png(painter(), os.path.join(ICONS, name + ".png"))
            print(name)
    for name, parts in ICO_TABLE.items():
        if not names or name in names:
            save_ico([icon_image(part) for part in parts], os.path.join(ICONS, name + ".ico"))
            print(name + ".ico")


if __name__ == "__main__":
    main(sys.argv[1:])
