# A contact sheet of all the artwork for looking at it: the project toolbar and the list
# window's toolbar as the program lays them out (1x and 2x), every toolbar bitmap at 1x and 4x
# with its resource id, the icons over two backgrounds, and the covers. Not a resource itself.
from . import pixel_font as font
from . import toolbar_buttons
from .canvas import Canvas
from .palette import FACE, HIGHLIGHT, SHADOW

PAPER = (236, 236, 236)
LABEL = (40, 40, 40)
GAP = 4              # the toolbar package's gap between controls

# The two toolbars of the program: ids of their bitmaps, None for a separator.
PROJECT = [10073, 10071, 10069, None, 10065, 10063, None, 10061, 10059, 10057, None, None, 10067]
PROJECT_DOWN = {10073: 10072, 10071: 10070, 10069: 10068, 10065: 10064, 10063: 10062,
                10061: 10060, 10059: 10058, 10057: 10056, 10067: 10066}
LIST_UP, LIST_DOWN, LIST_GREY = [10061, 10053, 10051], [10060, 10054, 10050], [10055, 10052, 10049]


def _toolbar(bitmaps, ids, background):
    width = GAP + sum((24 if i else 8) + GAP for i in ids)
    bar = Canvas(width, 24 + 2 * GAP, background)
    bar.hline(0, width - 1, 0, HIGHLIGHT)
    bar.hline(0, width - 1, bar.height - 1, SHADOW)
    x = GAP
    for rid in ids:
        if rid is None:
            x += 8 + GAP
            continue
        bar.blit(bitmaps[rid], x, GAP)
        x += 24 + GAP
    return bar


def _label(sheet, x, y, text):
    font.draw_text(sheet, x, y, text, LABEL)


def _over(icon, alpha, background):
    out = Canvas(icon.width, icon.height, background)
    for y in range(icon.height):
        for x in range(icon.width):
            out.blend(x, y, icon.get(x, y), alpha(x, y) / 255)
    return out


def build(bitmaps, icons, covers):
    """bitmaps: id -> Canvas; icons: name -> (Canvas, alpha); covers: name -> Canvas."""
    toolbars_height = 2 * (2 * (24 + 2 * GAP) + 8) + 3 * 32 + 20
    grid_height = 3 * 124 + 10
    icons_height = 14 + 128 + 16
    covers_height = max(c.height for c in covers.values()) + 10
    sheet = Canvas(1100, 10 + toolbars_height + grid_height + icons_height + covers_height, PAPER)
    y = 10
    # the toolbars as laid out, up and down, then the list window's toolbar in its three states
    rows = [_toolbar(bitmaps, PROJECT, FACE),
            _toolbar(bitmaps, [PROJECT_DOWN.get(i) if i else None for i in PROJECT], FACE)]
    x = 10
    for bar in rows:
        sheet.blit(bar, x, y)
        sheet.blit(bar.scaled(2), x + bar.width + 20, y)
        y += bar.height * 2 + 8
    x = 10
    for ids in (LIST_UP, LIST_DOWN, LIST_GREY):
        bar = _toolbar(bitmaps, ids, (128, 128, 128))
        sheet.blit(bar, x, y)
        sheet.blit(bar.scaled(2), x, y + bar.height + 6)
        x += bar.scaled(2).width + 20
    y += 32 * 3 + 20
    # every bitmap at 1x and 4x with its id
    ids = sorted(bitmaps)
    for i, rid in enumerate(ids):
        col, row = i % 9, i // 9
        bx, by = 10 + col * 120, y + row * 124
        _label(sheet, bx, by, str(rid))
        sheet.blit(bitmaps[rid], bx + 40, by)
        sheet.blit(bitmaps[rid].scaled(4), bx, by + 26)
    y += 3 * 124 + 10
    # the icons, over the grey of a dialog and over the toolbar grey
    x = 10
    for name in sorted(icons):
        icon, alpha = icons[name]
        _label(sheet, x, y, name.split(".")[0])
        for background in ((240, 240, 240), FACE):
            flat = _over(icon, alpha, background)
            sheet.blit(flat, x, y + 14)
            sheet.blit(flat.scaled(4), x + 40, y + 14)
            x += 40 + 128 + 10
    y += 14 + 128 + 16
    # the covers
    x = 10
    for name in covers:
        cover = covers[name]
        sheet.blit(cover, x, y)
        x += cover.width + 12
    return sheet
