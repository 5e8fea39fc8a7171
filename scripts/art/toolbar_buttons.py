# The toolbar button bitmaps: every bitmap resource 10048-10073 as a 24 x 24 button face in one
# of three states. Up: a raised face with the glyph. Down: a sunken face with the glyph moved one
# pixel right and down. Disabled: the raised face with the glyph etched in grey (its line work
# in grey over a white copy one pixel lower right, its fills left out).
from . import toolbar_glyphs as g
from .canvas import Canvas
from .palette import DARK_EDGE, FACE, GLYPH, HIGHLIGHT, SHADOW

BUTTON = 24
GLYPH_AT = (BUTTON - g.SIZE) // 2    # 4: the glyph's top left corner on a raised face

# Resource id -> (glyph function or None for a blank face, state).
BITMAPS = {
    10073: (g.new_page, "up"),          10072: (g.new_page, "down"),
    10071: (g.open_folder, "up"),       10070: (g.open_folder, "down"),
    10069: (g.floppy_disk, "up"),       10068: (g.floppy_disk, "down"),
    10067: (g.question_mark, "up"),     10066: (g.question_mark, "down"),
    10065: (g.undo_arrow, "up"),        10064: (g.undo_arrow, "down"),
    10063: (g.redo_arrow, "up"),        10062: (g.redo_arrow, "down"),
    10061: (g.scissors, "up"),          10060: (g.scissors, "down"),
    10059: (g.two_pages, "up"),         10058: (g.two_pages, "down"),
    10057: (g.clipboard, "up"),         10056: (g.clipboard, "down"),
    10055: (g.scissors, "disabled"),
    10054: (g.pencil_over_page, "down"), 10053: (g.pencil_over_page, "up"),
    10052: (g.pencil_over_page, "disabled"),
    10051: (g.index_card, "up"),        10050: (g.index_card, "down"),
    10049: (g.index_card, "disabled"),
    10048: (None, "up"),
}


def _raised():
    c = Canvas(BUTTON, BUTTON, FACE)
    last = BUTTON - 1
    c.hline(0, last, 0, HIGHLIGHT)
    c.vline(0, 0, last, HIGHLIGHT)
    c.hline(1, last, last - 1, SHADOW)
    c.vline(last - 1, 1, last - 1, SHADOW)
    c.hline(0, last, last, DARK_EDGE)
    c.vline(last, 0, last, DARK_EDGE)
    return c


def _sunken():
    c = Canvas(BUTTON, BUTTON, FACE)
    last = BUTTON - 1
    c.hline(0, last, 0, DARK_EDGE)
    c.vline(0, 0, last, DARK_EDGE)
    c.hline(1, last - 1, 1, SHADOW)
    c.vline(1, 1, last - 1, SHADOW)
    c.hline(0, last, last, HIGHLIGHT)
    c.vline(last, 0, last, HIGHLIGHT)
    return c


# Glyph characters whose pixels stay in the etched image: outlines and the grey strokes of
# writing and metal. Paper, wood and coloured fills fall away to the face, so what remains is the
# drawing's line work. A glyph may name further characters that are line work in it.
ETCHED = "kgdn"
ETCHED_ALSO = {g.index_card: "rB"}     # the ruled lines of the card


def _etched(glyph, characters):
    """The glyph as a disabled button shows it: its line work only, in SHADOW over a HIGHLIGHT
    copy shifted one pixel right and down."""
    keep = {GLYPH[ch] for ch in characters}
    lines = [(x, y) for y in range(g.SIZE) for x in range(g.SIZE) if glyph.get(x, y) in keep]
    out = Canvas(g.SIZE + 1, g.SIZE + 1, g.CLEAR)
    for x, y in lines:
        out.set(x + 1, y + 1, HIGHLIGHT)
    for x, y in lines:
        out.set(x, y, SHADOW)
    return out


def button(glyph_function, state):
    """The 24 x 24 bitmap of a button in the state "up", "down" or "disabled"."""
    face = _sunken() if state == "down" else _raised()
    if glyph_function is None:
        return face
    glyph = glyph_function()
    if state == "disabled":
        glyph = _etched(glyph, ETCHED + ETCHED_ALSO.get(glyph_function, ""))
    at = GLYPH_AT + (1 if state == "down" else 0)
    face.blit(glyph, at, at, transparent=g.CLEAR)
    return face


def all_bitmaps():
    """Resource id -> Canvas, for every toolbar bitmap."""
    return {rid: button(fn, state) for rid, (fn, state) in sorted(BITMAPS.items())}
