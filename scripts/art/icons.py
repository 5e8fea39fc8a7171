# The program's icons, 32 x 32 with an alpha channel: the information sign of the "Данные
# сохранены" note (a blue disc with a white "i") and the program's own icon (a bound book). The
# program's icon is also drawn at the desktop's sizes and as an SVG of the same shapes.
# Round shapes are sampled 4 x 4 times per pixel so their edges are smooth.
import math

from .canvas import Canvas

ICON = 32
SAMPLES = 4
# The colour stored in fully transparent pixels: the grey of a dialog, so that a reader that
# ignores the alpha channel and the mask still shows the sign on about the right ground.
GROUND = (239, 239, 239)


def _render(shade, size=ICON):
    """Samples shade(x, y) -> (r, g, b) or None (x and y in the 32-pixel design) over an icon of
    size x size pixels; gives the canvas and the alpha of every pixel. A pixel's colour is the
    mean of its covered samples, its alpha their share."""
    c = Canvas(size, size, GROUND)
    alpha = [[0] * size for _ in range(size)]
    n = SAMPLES * SAMPLES
    k = ICON / size
    for y in range(size):
        for x in range(size):
            acc, hits = [0, 0, 0], 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    col = shade((x + (sx + 0.5) / SAMPLES) * k, (y + (sy + 0.5) / SAMPLES) * k)
                    if col is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += col[i]
            if hits:
                c.set(x, y, tuple(int(round(v / hits)) for v in acc))
                alpha[y][x] = int(round(255 * hits / n))
    return c, lambda x, y: alpha[y][x]


def information():
    cx = cy = 16.0
    r = 15.2
    edge = (16, 56, 140)
    top, bottom = (112, 170, 246), (24, 84, 200)

    def shade(x, y):
        d = math.hypot(x - cx, y - cy)
        if d > r:
            return None
        if d > r - 1.3:
            return edge
        # white letter "i": a round dot and a stem with a foot
        if math.hypot(x - 16, y - 8.6) <= 2.5:
            return (255, 255, 255)
        if 14.0 <= x <= 18.2 and 12.6 <= y <= 24.6:
            return (255, 255, 255)
        if 12.4 <= x <= 19.8 and 22.6 <= y <= 24.6:
            return (255, 255, 255)
        if 12.4 <= x <= 15 and 12.6 <= y <= 14.4:
            return (255, 255, 255)
        # the disc is lit from the upper left
        t = max(0.0, min(1.0, ((x - cx) + (y - cy)) / (2 * r) + 0.5))
        return tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))

    return _render(shade)


CLOTH, CLOTH_DARK, EDGE = (150, 30, 44), (104, 18, 30), (60, 8, 16)
GOLD, GOLD_DARK = (236, 196, 92), (170, 128, 48)
PAPER, PAPER_LINE = (250, 246, 232), (196, 188, 168)


def program(size=ICON):
    cloth, cloth_dark, edge = CLOTH, CLOTH_DARK, EDGE
    gold, gold_dark = GOLD, GOLD_DARK
    paper, paper_line = PAPER, PAPER_LINE

    def shade(x, y):
        # the block of pages behind the front board, showing to the right and below
        if 8 <= x < 28 and 6 <= y < 30 and not (5 <= x < 26 and 3 <= y < 28):
            if x >= 27 or y >= 29:
                return edge
            if (x >= 26 and int(y) % 2 == 0) or (y >= 28 and int(x) % 2 == 0):
                return paper_line
            return paper
        if not (5 <= x < 26 and 3 <= y < 28):
            return None
        if x < 6 or x >= 25 or y < 4 or y >= 27:
            return edge
        if x < 9:                                   # the spine with two gilt bands
            if 7 <= y < 8.5 or 22.5 <= y < 24:
                return gold
            return cloth_dark
        if 9 <= x < 10:
            return edge
        # gilt frame and a lozenge on the front board
        if (12 <= x < 23 and 7 <= y < 24) and not (13 <= x < 22 and 8 <= y < 23):
            return gold
        if abs(x - 17.5) + abs(y - 15.5) <= 3.6:
            return gold if abs(x - 17.5) + abs(y - 15.5) > 1.4 else gold_dark
        return cloth

    return _render(shade, size)


def program_svg():
    """The program's icon as an SVG document: the shapes of program() in its 32-pixel design."""
    def hexc(c):
        return "#%02x%02x%02x" % c

    shapes = []

    def rect(x, y, w, h, colour):
        shapes.append('<rect x="%g" y="%g" width="%g" height="%g" fill="%s"/>' % (x, y, w, h, hexc(colour)))

    def lozenge(r, colour):
        cx, cy = 17.5, 15.5
        shapes.append('<polygon points="%g,%g %g,%g %g,%g %g,%g" fill="%s" shape-rendering="geometricPrecision"/>'
                      % (cx, cy - r, cx + r, cy, cx, cy + r, cx - r, cy, hexc(colour)))

    # the block of pages, its ruled edges and its outline
    rect(8, 6, 20, 24, PAPER)
    for y in range(6, 29, 2):
        rect(26, y, 1, 1, PAPER_LINE)
    for x in range(8, 27, 2):
        rect(x, 28, 1, 1, PAPER_LINE)
    rect(27, 6, 1, 24, EDGE)
    rect(8, 29, 20, 1, EDGE)
    # the front board, the spine with two gilt bands, the gilt frame and the lozenge
    rect(5, 3, 21, 25, EDGE)
    rect(6, 4, 19, 23, CLOTH)
    rect(6, 4, 3, 23, CLOTH_DARK)
    rect(6, 7, 3, 1.5, GOLD)
    rect(6, 22.5, 3, 1.5, GOLD)
    rect(9, 4, 1, 23, EDGE)
    rect(12, 7, 11, 17, GOLD)
    rect(13, 8, 9, 15, CLOTH)
    lozenge(3.6, GOLD)
    lozenge(1.4, GOLD_DARK)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 32 32" '
            'shape-rendering="crispEdges">\n'
            '<title>Фолиарх</title>\n' + "\n".join(shapes) + "\n</svg>\n").encode("utf-8")


# The desktop's icon sizes (the hicolor theme's folders NxN).
DESKTOP_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


# File name -> icon function.
ICONS = {"10003.ico": information, "9012.ico": program}
