# The sample book covers: a cloth or paper board with a spine, a gilt double frame with corner
# ornaments, the author and title in our pixel font, an emblem of the book and the year of its
# first complete edition. Each cover function returns a Canvas; the colours are few and fixed,
# so a cover can also be stored with an 8-bit palette.
import math

from . import pixel_font as font
from .canvas import Canvas


def _noise(x, y, seed):
    """A fixed pseudo-random number 0..255 for a pixel, the same on every run."""
    h = (x * 374761393 + y * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return (h ^ (h >> 16)) & 0xFF


def _shade(colour, delta):
    return tuple(max(0, min(255, c + delta)) for c in colour)


class Style:
    def __init__(self, board, ink, ink_dark, spine=None, grain=6):
        self.board = board          # cloth or paper of the board
        self.ink = ink              # gilding or print of frame, letters and emblem
        self.ink_dark = ink_dark    # its shade
        self.spine = spine or _shade(board, -22)
        self.grain = grain          # strength of the cloth texture


SPINE = 12


def _board(w, h, st, seed):
    c = Canvas(w, h, st.board)
    for y in range(h):
        for x in range(w):
            base = st.spine if x < SPINE else st.board
            n = _noise(x, y, seed)
            delta = st.grain if n < 70 else (-st.grain if n > 190 else 0)
            if y % 3 == 0:
                delta -= st.grain // 2        # the weave of the cloth
            c.set(x, y, _shade(base, delta))
    # the hinge between spine and board: a groove with a lit edge
    c.vline(SPINE, 0, h - 1, _shade(st.spine, -30))
    c.vline(SPINE + 1, 0, h - 1, _shade(st.board, 14))
    # the edges of the board
    c.frame_rect(0, 0, w - 1, h - 1, _shade(st.spine, -40))
    return c


_FLEURON = [
    "...#...",
    "..###..",
    ".#.#.#.",
    "###.###",
    ".#.#.#.",
    "..###..",
    "...#...",
]


def _stamp(c, pattern, x0, y0, colour):
    for dy, row in enumerate(pattern):
        for dx, bit in enumerate(row):
            if bit == "#":
                c.set(x0 + dx, y0 + dy, colour)


def _frame(c, st):
    """A double gilt frame: a two-pixel outer rule, a one-pixel inner rule, and a fleuron in
    each corner between them."""
    w, h = c.width, c.height
    left, top, right, bottom = SPINE + 8, 8, w - 9, h - 9
    for i in range(2):
        c.frame_rect(left + i, top + i, right - i, bottom - i, st.ink)
    c.frame_rect(left + 2, top + 2, right - 2, bottom - 2, st.ink_dark)
    inner = (left + 7, top + 7, right - 7, bottom - 7)
    c.frame_rect(*inner, st.ink)
    for x, y in ((left + 3, top + 3), (right - 9, top + 3), (left + 3, bottom - 9), (right - 9, bottom - 9)):
        _stamp(c, _FLEURON, x, y, st.ink)
    return inner


def _rule(c, cx, y, half, st):
    """A short ornamental rule: a line with a lozenge in the middle."""
    c.hline(cx - half, cx - 5, y, st.ink)
    c.hline(cx + 5, cx + half, y, st.ink)
    for d in range(4):
        c.hline(cx - 3 + d, cx + 3 - d, y - d, st.ink)
        c.hline(cx - 3 + d, cx + 3 - d, y + d, st.ink)
    c.set(cx, y, st.ink_dark)


def _lettering(c, st, author, title_lines, year, inner):
    """Author, title and year; gives the top and bottom of the space left for the emblem."""
    left, top, right, bottom = inner
    cx = (left + right + 1) // 2
    y = top + 8
    font.draw_text_centred(c, cx, y, author, st.ink, 1, 1, shadow=st.ink_dark)
    y += font.HEIGHT + 6
    for line in title_lines:
        font.draw_text_centred(c, cx, y, line, st.ink, 2, 1, shadow=st.ink_dark)
        y += 2 * font.HEIGHT + 2
    y += 4
    _rule(c, cx, y, 30, st)
    year_y = bottom - 8 - font.HEIGHT
    font.draw_text_centred(c, cx, year_y, year, st.ink, 1, 1, shadow=st.ink_dark)
    _rule(c, cx, year_y - 5, 14, st)
    return cx, y + 6, year_y - 12


def _ellipse(c, cx, cy, a, b, angle, colour):
    ca, sa = math.cos(angle), math.sin(angle)
    r = max(a, b) + 1
    box = (int(cx - r), int(cy - r), int(cx + r) + 1, int(cy + r) + 1)

    def inside(x, y):
        dx, dy = x - cx, y - cy
        u, v = dx * ca + dy * sa, -dx * sa + dy * ca
        return (u / a) ** 2 + (v / b) ** 2 <= 1.0

    c.fill_where(inside, colour, box)


# ---- emblems -------------------------------------------------------------------------------

def _quill_and_inkwell(c, cx, cy, st):
    """A goose quill standing in an inkwell."""
    nib = (cx - 8, cy + 18)
    top = (cx + 26, cy - 38)
    ax, ay = top[0] - nib[0], top[1] - nib[1]
    length = math.hypot(ax, ay)
    ux, uy = ax / length, ay / length
    nx, ny = -uy, ux

    def point(t, off):
        return (nib[0] + ax * t + nx * off, nib[1] + ay * t + ny * off)

    # the vane, wider on one side, from a third of the way up to the tip
    left_side, right_side = [], []
    for i in range(21):
        t = 0.28 + 0.72 * i / 20
        s = math.sin(math.pi * (i / 20) ** 0.75)
        left_side.append(point(t, 11 * s))
        right_side.append(point(t, -7 * s))
    c.polygon(left_side + list(reversed(right_side)), st.ink)
    # barbs: shaded strokes across the vane
    for i in range(3, 20, 2):
        t = 0.28 + 0.72 * i / 20
        s = math.sin(math.pi * (i / 20) ** 0.75)
        x0, y0 = point(t, 0)
        x1, y1 = point(t + 0.05, 10 * s)
        c.line(int(x0), int(y0), int(x1), int(y1), st.ink_dark)
        x1, y1 = point(t + 0.04, -6 * s)
        c.line(int(x0), int(y0), int(x1), int(y1), st.ink_dark)
    # the shaft
    c.thick_line(nib[0], nib[1], top[0] - ux * 4, top[1] - uy * 4, 1.6, st.ink_dark)
    # the inkwell: a squat pot with a rim, in front of the lower end of the quill
    pot_top = cy + 14
    c.fill_rect(cx - 16, pot_top + 4, cx + 16, pot_top + 22, st.ink)
    _ellipse(c, cx, pot_top + 22, 16.5, 4, 0, st.ink)
    c.fill_rect(cx - 10, pot_top, cx + 10, pot_top + 4, st.ink_dark)
    c.fill_rect(cx - 12, pot_top - 2, cx + 12, pot_top, st.ink)
    for x in range(cx - 13, cx + 14, 4):
        c.vline(x, pot_top + 7, pot_top + 19, st.ink_dark)
    c.hline(cx - 16, cx + 16, pot_top + 4, st.ink_dark)


def _mountains_and_moon(c, cx, cy, st, snow, sky, moon):
    """A round medallion: mountain peaks under a crescent moon and stars."""
    r = 38
    in_circle = lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= (r - 3) ** 2
    box = (cx - r, cy - r, cx + r, cy + r)
    c.fill_where(in_circle, sky, box)
    # stars
    for sx, sy in ((-22, -16), (-10, -26), (4, -14), (-26, 2), (14, -28), (-4, -4)):
        x, y = cx + sx, cy + sy
        c.set(x, y, moon)
        for d in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            c.set(x + d[0], y + d[1], st.ink_dark)
    # the crescent
    mx, my = cx + 14, cy - 14
    c.fill_where(lambda x, y: (x - mx) ** 2 + (y - my) ** 2 <= 81
                 and (x - mx - 4) ** 2 + (y - my + 3) ** 2 > 64, moon, box)
    # the range: far peaks in shade, near peaks in front, snow on the tops
    far = [(cx - r, cy + 8), (cx - 24, cy - 6), (cx - 12, cy + 4), (cx + 2, cy - 12),
           (cx + 18, cy + 2), (cx + 28, cy - 4), (cx + r, cy + 6), (cx + r, cy + r), (cx - r, cy + r)]
    near = [(cx - r, cy + 18), (cx - 14, cy - 2), (cx - 2, cy + 14), (cx + 12, cy + 2),
            (cx + r, cy + 22), (cx + r, cy + r), (cx - r, cy + r)]
    layer = Canvas(c.width, c.height, None)
    layer.polygon(far, st.ink_dark)
    layer.polygon(near, st.ink)
    for px, py, depth in ((cx - 24, cy - 6, 6), (cx + 2, cy - 12, 7), (cx + 28, cy - 4, 4),
                          (cx - 14, cy - 2, 7), (cx + 12, cy + 2, 6)):
        layer.polygon([(px, py - 0.5), (px + depth * 0.9, py + depth),
                       (px + 1, py + depth - 2), (px - 2, py + depth + 1),
                       (px - depth * 0.9, py + depth)], snow)
    for y in range(cy - r, cy + r + 1):
        for x in range(cx - r, cx + r + 1):
            if layer.inside(x, y) and layer.get(x, y) is not None and in_circle(x + 0.5, y + 0.5):
                c.set(x, y, layer.get(x, y))
    c.ring(cx, cy, r - 3, r, st.ink)
    c.ring(cx, cy, r - 4, r - 3, st.ink_dark)


def _wheel(c, cx, cy, st):
    """The wheel of a travelling carriage, on a road."""
    r = 34
    c.ring(cx, cy, r - 4, r, st.ink)
    c.ring(cx, cy, r - 7, r - 4, st.ink_dark)
    for i in range(12):
        a = 2 * math.pi * i / 12 + math.pi / 12
        x0, y0 = cx + 7 * math.cos(a), cy + 7 * math.sin(a)
        x1, y1 = cx + (r - 6) * math.cos(a), cy + (r - 6) * math.sin(a)
        c.thick_line(x0, y0, x1, y1, 2.6, st.ink)
    c.disc(cx, cy, 9, st.ink)
    c.ring(cx, cy, 5, 6.5, st.ink_dark)
    c.disc(cx, cy, 2, st.ink_dark)
    # studs on the tyre
    for i in range(24):
        a = 2 * math.pi * i / 24
        c.set(int(cx + (r - 2) * math.cos(a)), int(cy + (r - 2) * math.sin(a)), st.ink_dark)
    # the road: dashes running away to both sides
    y = cy + r + 5
    for x in range(cx - 46, cx + 47, 6):
        c.hline(x, x + 3, y, st.ink)
    for x in range(cx - 40, cx + 41, 8):
        c.hline(x, x + 2, y + 4, st.ink_dark)


def _wreath_and_sabres(c, cx, cy, st):
    """Two crossed sabres inside a laurel wreath tied with a ribbon."""
    for side in (-1, 1):
        # the sabre's curve from the end of its grip (t = 0, below) to its point (t = 1, above)
        def at(t, side=side):
            return (cx + side * (-24 + 50 * t), cy + 24 - 52 * t - 7 * math.sin(math.pi * t))

        steps = 24
        pts = [at(i / steps) for i in range(steps + 1)]
        guard = 4
        for i in range(guard, steps):
            (x0, y0), (x1, y1) = pts[i], pts[i + 1]
            c.thick_line(x0, y0, x1, y1, 4.2 - 2.4 * i / steps, st.ink)
        for i in range(guard + 1, steps - 2):
            (x0, y0), (x1, y1) = pts[i], pts[i + 1]
            c.line(int(round(x0)), int(round(y0)), int(round(x1)), int(round(y1)), st.ink_dark)
        # the grip, the cross guard across the blade and the pommel
        (gx, gy), (hx, hy) = pts[guard], pts[0]
        c.thick_line(hx, hy, gx, gy, 3.6, st.ink_dark)
        dx, dy = gx - hx, gy - hy
        n = math.hypot(dx, dy)
        px, py = -dy / n * 7, dx / n * 7
        c.thick_line(gx - px, gy - py, gx + px, gy + py, 2.6, st.ink)
        c.disc(hx, hy, 2.8, st.ink)
    # laurel: on each side a stem rising from the ribbon with pairs of leaves pointing upwards
    r = 42
    for side in (-1, 1):
        def on_arc(theta, off=0.0, side=side):
            x = cx + side * (r + off) * math.sin(theta)
            y = cy + (r + off) * math.cos(theta)
            return x, y

        thetas = [math.radians(12 + 7 * i) for i in range(21)]
        for a0, a1 in zip(thetas, thetas[1:]):
            (x0, y0), (x1, y1) = on_arc(a0), on_arc(a1)
            c.thick_line(x0, y0, x1, y1, 1.8, st.ink_dark)
        for i in range(9):
            theta = math.radians(20 + 16 * i)
            tx, ty = side * math.cos(theta), -math.sin(theta)      # along the stem, upwards
            heading = math.atan2(ty, tx)
            for off, turn in ((4.2, 0.55), (-4.2, -0.55)):
                x, y = on_arc(theta + math.radians(3), off)
                _ellipse(c, x, y, 5.4, 2.3, heading + side * turn, st.ink)
        tip = on_arc(math.radians(162))
        _ellipse(c, tip[0], tip[1], 4.6, 2.2, math.atan2(-math.sin(math.radians(162)),
                                                       side * math.cos(math.radians(162))), st.ink)
    # the ribbon
    by = cy + r
    c.polygon([(cx - 2, by - 1), (cx - 13, by + 10), (cx - 7, by + 11), (cx, by + 3)], st.ink)
    c.polygon([(cx + 2, by - 1), (cx + 13, by + 10), (cx + 7, by + 11), (cx, by + 3)], st.ink)
    _ellipse(c, cx - 5, by - 2, 5, 2.6, 0.3, st.ink)
    _ellipse(c, cx + 5, by - 2, 5, 2.6, -0.3, st.ink)
    c.disc(cx, by - 1, 2.6, st.ink_dark)


def _cherry_branch(c, cx, cy, st, bark, leaf, leaf_dark, cherry, blossom, blossom_heart):
    """A cherry branch with leaves, blossom and two pairs of cherries."""
    branch = [(cx - 48, cy + 30), (cx - 30, cy + 18), (cx - 10, cy + 8), (cx + 10, cy - 4),
              (cx + 30, cy - 20), (cx + 46, cy - 34)]
    for (x0, y0), (x1, y1), wdt in zip(branch, branch[1:], (5, 4.4, 3.8, 3.2, 2.6)):
        c.thick_line(x0, y0, x1, y1, wdt, bark)
    c.thick_line(cx - 10, cy + 8, cx - 24, cy - 14, 2.6, bark)
    c.thick_line(cx + 10, cy - 4, cx + 20, cy + 14, 2.4, bark)
    for x, y, a in ((cx - 30, cy - 2, -0.9), (cx - 22, cy - 20, -1.6), (cx + 2, cy - 18, -0.5),
                    (cx + 34, cy - 40, -0.9), (cx + 40, cy - 14, 0.4), (cx - 40, cy + 36, 0.6)):
        _ellipse(c, x, y, 10, 4, a, leaf)
        ca, sa = math.cos(a), math.sin(a)
        c.line(int(x - 9 * ca), int(y - 9 * sa), int(x + 9 * ca), int(y + 9 * sa), leaf_dark)
    # cherries hanging on stems
    for hx, hy, drops in ((cx - 4, cy + 6, ((-9, 26), (4, 28))), (cx + 22, cy + 12, ((-4, 24), (9, 22)))):
        for dx, dy in drops:
            c.line(hx, hy, hx + dx, hy + dy - 5, leaf_dark)
            c.disc(hx + dx, hy + dy, 5.2, cherry)
            c.disc(hx + dx - 1.6, hy + dy - 1.8, 1.3, _shade(cherry, 90))
    # blossom: five petals round a heart
    for bx, by in ((cx + 14, cy - 28), (cx - 36, cy + 8), (cx + 44, cy - 2)):
        for k in range(5):
            a = 2 * math.pi * k / 5 - math.pi / 2
            c.disc(bx + 4 * math.cos(a), by + 4 * math.sin(a), 3.1, blossom)
        c.disc(bx, by, 1.6, blossom_heart)


# ---- the books -----------------------------------------------------------------------------

def _cover(w, h, st, seed, author, title, year):
    c = _board(w, h, st, seed)
    inner = _frame(c, st)
    cx, top, bottom = _lettering(c, st, author, title, year, inner)
    return c, cx, (top + bottom) // 2


def onegin():
    st = Style(board=(30, 74, 48), ink=(226, 186, 84), ink_dark=(150, 112, 40))
    c, cx, cy = _cover(180, 260, st, 1, "А. С. ПУШКИН", ["ЕВГЕНИЙ", "ОНЕГИН"], "1833")
    _quill_and_inkwell(c, cx, cy - 4, st)
    return c


def geroy():
    st = Style(board=(28, 36, 70), ink=(214, 190, 120), ink_dark=(128, 108, 60))
    c, cx, cy = _cover(180, 260, st, 2, "М. Ю. ЛЕРМОНТОВ", ["ГЕРОЙ", "НАШЕГО", "ВРЕМЕНИ"], "1840")
    _mountains_and_moon(c, cx, cy, st, snow=(236, 236, 244), sky=(18, 24, 52), moon=(250, 236, 170))
    return c


def mertvye_dushi():
    st = Style(board=(86, 44, 30), ink=(222, 178, 92), ink_dark=(140, 100, 48))
    c, cx, cy = _cover(175, 260, st, 3, "Н. В. ГОГОЛЬ", ["МЁРТВЫЕ", "ДУШИ"], "1842")
    _wheel(c, cx, cy - 4, st)
    return c


def voyna_i_mir():
    st = Style(board=(104, 24, 36), ink=(232, 196, 100), ink_dark=(150, 110, 46))
    c, cx, cy = _cover(190, 270, st, 4, "Л. Н. ТОЛСТОЙ", ["ВОЙНА", "И МИР"], "1869")
    _wreath_and_sabres(c, cx, cy - 2, st)
    return c


def vishnevyi_sad():
    st = Style(board=(240, 230, 206), ink=(132, 28, 48), ink_dark=(196, 140, 140),
               spine=(132, 28, 48), grain=4)
    c, cx, cy = _cover(180, 260, st, 5, "А. П. ЧЕХОВ", ["ВИШНЁВЫЙ", "САД"], "1904")
    _cherry_branch(c, cx, cy, st, bark=(96, 58, 36), leaf=(92, 148, 64), leaf_dark=(52, 96, 40),
                   cherry=(186, 20, 40), blossom=(255, 250, 250), blossom_heart=(230, 170, 60))
    return c


# File name (without ".bmp") -> (cover function, bits per pixel).
COVERS = {
    "onegin": (onegin, 24),
    "geroy": (geroy, 8),
    "mertvye_dushi": (mertvye_dushi, 24),
    "voyna_i_mir": (voyna_i_mir, 24),
    "vishnevyi_sad": (vishnevyi_sad, 24),
}
