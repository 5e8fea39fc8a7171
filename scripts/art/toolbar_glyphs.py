# The toolbar glyphs as 16 x 16 pixel maps in the characters of palette.GLYPH, plus the few that
# are easier to state as shapes (the curved arrows). Each glyph function returns a 16 x 16
# Canvas whose background pixels are CLEAR.
from .canvas import Canvas
from .palette import GLYPH

SIZE = 16
CLEAR = (255, 0, 255)   # marks background pixels of a glyph; no glyph uses this colour

NEW = [
    "................",
    "..kkkkkkkkk.....",
    "..kwwwwwwwkk....",
    "..kwwwwwwwkhk...",
    "..kwwwwwwwkhhk..",
    "..kwwwwwwwkkkkk.",
    "..kwwwwwwwwwwhk.",
    "..kwwwwwwwwwwhk.",
    "..kwwwwwwwwwwhk.",
    "..kwwwwwwwwwwhk.",
    "..kwwwwwwwwwwhk.",
    "..kwwwwwwwwwwhk.",
    "..kwwwwwwwwwwhk.",
    "..kwwwwwwwwwwhk.",
    "..khhhhhhhhhhhk.",
    "..kkkkkkkkkkkkk.",
]

OPEN = [
    "................",
    "................",
    "................",
    ".kkkk...........",
    "kyyyyk..........",
    "kyYYYykkkkkkk...",
    "kyYYYYYYYYYYk...",
    "kyYYYYkkkkkkkkkk",
    "kyYYYkyyyyyyyyk.",
    "kyYYkyyyyyyyyk..",
    "kyYkyyyyyyyyk...",
    "kykyyyyyyyyk....",
    "kkkkkkkkkkk.....",
    "................",
    "................",
    "................",
]

SAVE = [
    "................",
    ".kkkkkkkkkkkk...",
    ".knnwwwwwwwwnk..",
    ".knnwBBBBBBwnnk.",
    ".knnwwwwwwwwnnk.",
    ".knnwBBBBBBwnnk.",
    ".knnwwwwwwwwnnk.",
    ".knnnnnnnnnnnnk.",
    ".knnnnnnnnnnnnk.",
    ".knnnmmmmmmmnnk.",
    ".knnnmddmmmmnnk.",
    ".knnnmddmmmmnnk.",
    ".knnnmddmmmmnnk.",
    ".knnnmmmmmmmnnk.",
    ".kkkkkkkkkkkkkk.",
    "................",
]

CUT = [
    "..kk........kk..",
    "..kwk......kwk..",
    "...kwk....kwk...",
    "....kwk..kwk....",
    ".....kwkkwk.....",
    "......kwwk......",
    "......kddk......",
    ".....kk..kk.....",
    "..kkkk....kkkk..",
    ".krrrrk..krrrrk.",
    "krrkkrrkkrrkkrrk",
    "krk..krkkrk..krk",
    "krk..krkkrk..krk",
    "krrkkrrkkrrkkrrk",
    ".krrrrk..krrrrk.",
    "..kkkk....kkkk..",
]

COPY = [
    "kkkkkkkk........",
    "kwwwwwwkk.......",
    "kwggggwkhk......",
    "kwwwwwwkkkk.....",
    "kwgggkkkkkkkk...",
    "kwwwwkwwwwwwkk..",
    "kwgggkwggggwkhk.",
    "kwwwwkwwwwwwkkkk",
    "kwgggkwggggggwwk",
    "kwwwwkwwwwwwwwwk",
    "kwgggkwggggggwwk",
    "kkkkkkwwwwwwwwwk",
    ".....kwggggggwwk",
    ".....kwwwwwwwwwk",
    ".....kwggggwwwwk",
    ".....kkkkkkkkkkk",
]

PASTE = [
    "....kkkkkk......",
    ".kkkkmmmmkkkk...",
    ".kOOkmmmmkOOk...",
    ".kOOkkkkkkOOk...",
    ".kOwwwwwwwwOk...",
    ".kOwggggggwOk...",
    ".kOwwkkkkkkkk...",
    ".kOwgkwwwwwwkk..",
    ".kOwwkwggggwkhk.",
    ".kOwgkwwwwwwkkkk",
    ".kOwwkwggggggwwk",
    ".kOwgkwwwwwwwwwk",
    ".kOwwkwggggggwwk",
    ".kOOOkwwwwwwwwwk",
    ".kOOOkwggggwwwwk",
    ".kkkkkkkkkkkkkkk",
]

HELP = [
    ".....kkkkkk.....",
    "...kkbbbbbbkk...",
    "..kbbbbbbbbbbk..",
    ".kbBBbwwwwbbbbk.",
    ".kbBbwwbbwwbbbk.",
    "kbBbbwwbbwwbbbbk",
    "kbbbbbbbbwwbbbbk",
    "kbbbbbbbwwbbbbbk",
    "kbbbbbbwwbbbbbbk",
    "kbbbbbbwwbbbbbbk",
    "kbbbbbbbbbbbbbbk",
    ".kbbbbbwwbbbbbk.",
    ".kbbbbbwwbbbbbk.",
    "..kbbbbbbbbbbk..",
    "...kkbbbbbbkk...",
    ".....kkkkkk.....",
]

CARD = [
    "................",
    "................",
    "kkkkkkkkkkkkkkkk",
    "kcccccccccccccck",
    "kcgggggggcccccck",
    "kcccccccccccccck",
    "krrrrrrrrrrrrrrk",
    "kcccccccccccccck",
    "kcBBBBBBBBBBBBck",
    "kcccccccccccccck",
    "kcBBBBBBBBBBBBck",
    "kcccccccccccccck",
    "kccccccggcccccck",
    "kccccccggcccccck",
    "kkkkkkkkkkkkkkkk",
    "................",
]

EDIT_PAGE = [
    "................",
    "kkkkkkkkkkk.....",
    "kwwwwwwwwwk.....",
    "kwggggggwwk.....",
    "kwwwwwwwwwk.....",
    "kwggggggwwk.....",
    "kwwwwwwwwwk.....",
    "kwggggggwwk.....",
    "kwwwwwwwwwk.....",
    "kwggggggwwk.....",
    "kwwwwwwwwwk.....",
    "kwggggwwwwk.....",
    "kwwwwwwwwwk.....",
    "kwwwwwwwwwk.....",
    "kkkkkkkkkkk.....",
    "................",
]


def _from_map(rows):
    if len(rows) != SIZE or any(len(r) != SIZE for r in rows):
        raise ValueError("a glyph map must be 16 rows of 16 characters")
    c = Canvas(SIZE, SIZE, CLEAR)
    c.draw_map(rows, GLYPH)
    return c


def _outline(c, colour=GLYPH["k"]):
    """Puts an outline pixel on every clear pixel that touches a drawn one side by side."""
    marks = []
    for y in range(SIZE):
        for x in range(SIZE):
            if c.get(x, y) != CLEAR:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if c.inside(nx, ny) and c.get(nx, ny) not in (CLEAR, colour):
                    marks.append((x, y))
                    break
    for x, y in marks:
        c.set(x, y, colour)


def _curved_arrow():
    """The undo arrow: its head at the upper left points back to the left; the shaft runs right
    and turns down and round in a half circle, ending below the head."""
    c = Canvas(SIZE, SIZE, CLEAR)
    cx, cy, r_in, r_out = 9.5, 9.0, 2.5, 5.5
    blue, light = GLYPH["b"], GLYPH["B"]

    def in_shaft(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if x >= cx:
            return r_in * r_in <= d2 <= r_out * r_out
        if cy - r_out <= y <= cy - r_in:
            return x >= 5.5
        return x >= 7.0 and cy + r_in <= y <= cy + r_out

    c.fill_where(in_shaft, blue)
    mid = cy - (r_out + r_in) / 2
    c.polygon([(0.6, mid), (6.4, mid - 4.6), (6.4, mid + 4.6)], blue)
    # a lit line along the top of the shaft
    c.fill_where(lambda x, y: 6.0 <= x <= cx and cy - r_out <= y <= cy - r_out + 1.0, light)
    _outline(c)
    return c


def _pencil_over_page():
    """A page of writing with a pencil lying across it from the upper right to the lower left."""
    c = _from_map(EDIT_PAGE)
    k = GLYPH["k"]
    # The pencil runs along x - y; u = x + y measures across it. Its axis is u = 16.
    for y in range(SIZE):
        for x in range(SIZE):
            u, v = x + y - 16, x - y
            if v < -7 or v > 14:
                continue
            half = 2
            if v <= -3:                       # the sharpened end narrows to the lead
                half = max(0, (v + 7) // 2)
            if abs(u) > half:
                continue
            edge = abs(u) == half or v == 14
            if v <= -6:
                colour = k                    # the lead
            elif edge:
                colour = k
            elif v <= -3:
                colour = GLYPH["t"]           # bare wood
            elif v <= 8:
                colour = GLYPH["y"] if u <= 0 else GLYPH["Y"]
            elif v <= 10:
                colour = GLYPH["m"]           # the metal band
            else:
                colour = GLYPH["R"]           # the eraser
            c.set(x, y, colour)
    return c


def new_page():
    return _from_map(NEW)


def open_folder():
    return _from_map(OPEN)


def floppy_disk():
    return _from_map(SAVE)


def undo_arrow():
    return _curved_arrow()


def redo_arrow():
    return _curved_arrow().mirrored()


def scissors():
    return _from_map(CUT)


def two_pages():
    return _from_map(COPY)


def clipboard():
    return _from_map(PASTE)


def question_mark():
    return _from_map(HELP)


def pencil_over_page():
    return _pencil_over_page()


def index_card():
    return _from_map(CARD)
