#!/usr/bin/env python3
# Draws the program's icon (the bound book of resources/icons/9012.ico) for the desktop: PNGs
# with an alpha channel at the hicolor theme's sizes, resources/desktop/icons/NxN/foliarkh.png,
# and the same shapes as resources/desktop/icons/scalable/foliarkh.svg. Deterministic, standard
# library only; the files are kept in the source tree so that a build needs no Python.
import os
import sys

sys.dont_write_bytecode = True     # keep the source tree free of byte-code caches
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from art import icons, image_files  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ICONS = os.path.join(ROOT, "resources", "desktop", "icons")


def main():
    written = []

    def save(relative, data):
        path = os.path.join(ICONS, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if image_files.write(path, data):
            written.append(relative)

    for size in icons.DESKTOP_SIZES:
        canvas, alpha = icons.program(size)
        save(os.path.join("%dx%d" % (size, size), "foliarkh.png"), image_files.png_rgba_bytes(canvas, alpha))
    save(os.path.join("scalable", "foliarkh.svg"), icons.program_svg())
    print("%d files written" % len(written))
    for relative in written:
        print("  " + relative)


if __name__ == "__main__":
    main()
