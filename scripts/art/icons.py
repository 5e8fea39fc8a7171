# The program's icons, 32 x 32 with an alpha channel: the information sign of the "Данные
# сохранены" note (a blue disc with a white "i") and the program's own icon (a bound book).
# Round shapes are sampled 4 x 4 times per pixel so their edges are smooth.
import math

from .canvas import Canvas

ICON = 32
SAMPLES = 4
# The colour stored in fully transparent pixels: the grey of a dialog, so that a reader that
# ignores the alpha channel and the mask still shows the sign on about the right ground.
GROUND = (239, 239, 239)


def _render(shade):
    """Samples shade(x, y) -> (r, g, b) or None over the icon; gives the canvas and the alpha of
    every pixel. A pixel's colour is the mean of its covered samples, its alpha their share."""
    c = Canvas(ICON, ICON, GROUND)
    alpha = [[0] * ICON for _ in range(ICON)]
    n = SAMPLES * SAMPLES
    for y in range(ICON):
        for x in range(ICON):
            acc, hits = [0, 0, 0], 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    col = shade(x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES)
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


def program():
    cloth, cloth_dark, edge = (150, 30, 44), (104, 18, 30), (60, 8, 16)
    gold, gold_dark = (236, 196, 92), (170, 128, 48)
    paper, paper_line = (250, 246, 232), (196, 188, 168)

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

    return _render(shade)


# File name -> icon function.
ICONS = {"10003.ico": information, "9012.ico": program}
