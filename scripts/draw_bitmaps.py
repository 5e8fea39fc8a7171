#!/usr/bin/env python3
# Draws the program's artwork and writes it into the source tree: the toolbar bitmaps
# resources/bitmaps/10048.bmp ... 10073.bmp, the icons resources/icons/10003.ico (the note
# "Данные сохранены") and 9012.ico (the program), and the sample covers data/*.bmp.
# Deterministic: every run writes the same bytes; files that already hold them are left alone.
# With --sheet PATH it also writes a PNG contact sheet of everything, for looking at it.
import argparse
import os
import sys

sys.dont_write_bytecode = True     # keep the source tree free of byte-code caches
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from art import contact_sheet, covers, icons, image_files, toolbar_buttons  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--sheet", metavar="PATH", help="also write a PNG contact sheet there")
    args = parser.parse_args()

    written = []

    def save(relative, data):
        path = os.path.join(ROOT, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if image_files.write(path, data):
            written.append(relative)

    bitmaps = toolbar_buttons.all_bitmaps()
    for rid, canvas in bitmaps.items():
        save(os.path.join("resources", "bitmaps", "%d.bmp" % rid), image_files.bmp_bytes_24(canvas))

    drawn_icons = {name: fn() for name, fn in icons.ICONS.items()}
    for name, (canvas, alpha) in drawn_icons.items():
        save(os.path.join("resources", "icons", name), image_files.ico_bytes(canvas, alpha))

    drawn_covers = {}
    for name, (fn, bits) in covers.COVERS.items():
        canvas = fn()
        drawn_covers[name] = canvas
        data = image_files.bmp_bytes_8(canvas) if bits == 8 else image_files.bmp_bytes_24(canvas)
        save(os.path.join("data", name + ".bmp"), data)

    if args.sheet:
        sheet = contact_sheet.build(bitmaps, drawn_icons, drawn_covers)
        image_files.write(args.sheet, image_files.png_bytes(sheet))
        print("contact sheet:", args.sheet)
    print("%d files written, %d unchanged" % (len(written), len(bitmaps) + len(drawn_icons)
                                              + len(drawn_covers) - len(written)))
    for relative in written:
        print("  " + relative)


if __name__ == "__main__":
    main()
