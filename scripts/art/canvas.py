# A pixel canvas of RGB triples with the few drawing operations the artwork needs: pixels,
# rectangles, pixel maps, lines, discs and rings, polygons, copies and nearest-neighbour scaling.
# Coordinates have y growing downwards; everything outside the canvas is clipped silently.
import math


class Canvas:
    def __init__(self, width, height, colour=(0, 0, 0)):
        self.width = width
        self.height = height
        self._rows = [[colour] * width for _ in range(height)]

    def inside(self, x, y):
        return 0 <= x < self.width and 0 <= y < self.height

    def get(self, x, y):
        return self._rows[y][x]

    def row(self, y):
        return list(self._rows[y])

    def set(self, x, y, colour):
        if self.inside(x, y):
            self._rows[y][x] = colour

    def blend(self, x, y, colour, amount):
        """Mixes colour into the pixel; amount 0 keeps it, 1 replaces it."""
        if self.inside(x, y) and amount > 0:
            old = self._rows[y][x]
            a = min(1.0, amount)
            self._rows[y][x] = tuple(int(round(o + (c - o) * a)) for o, c in zip(old, colour))

    def fill_rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle with corners (x0, y0) and (x1, y1), both included."""
        for y in range(max(0, y0), min(self.height, y1 + 1)):
            row = self._rows[y]
            for x in range(max(0, x0), min(self.width, x1 + 1)):
                row[x] = colour

    def frame_rect(self, x0, y0, x1, y1, colour):
        self.fill_rect(x0, y0, x1, y0, colour)
        self.fill_rect(x0, y1, x1, y1, colour)
        self.fill_rect(x0, y0, x0, y1, colour)
        self.fill_rect(x1, y0, x1, y1, colour)

    def hline(self, x0, x1, y, colour):
        self.fill_rect(min(x0, x1), y, max(x0, x1), y, colour)

    def vline(self, x, y0, y1, colour):
        self.fill_rect(x, min(y0, y1), x, max(y0, y1), colour)

    def draw_map(self, rows, palette, x0=0, y0=0):
        """Draws a pixel map: one string per row, one character per pixel, looked up in the
        palette; a character that maps to None (such as ".") leaves the pixel as it is."""
        for dy, text in enumerate(rows):
            for dx, ch in enumerate(text):
                colour = palette[ch]
                if colour is not None:
                    self.set(x0 + dx, y0 + dy, colour)

    def line(self, x0, y0, x1, y1, colour):
        """A one-pixel line, both ends included."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            self.set(x0, y0, colour)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def fill_where(self, test, colour, box=None):
        """Sets every pixel whose centre satisfies test(x + 0.5, y + 0.5)."""
        x0, y0, x1, y1 = box or (0, 0, self.width - 1, self.height - 1)
        for y in range(max(0, y0), min(self.height, y1 + 1)):
            for x in range(max(0, x0), min(self.width, x1 + 1)):
                if test(x + 0.5, y + 0.5):
                    self._rows[y][x] = colour

    def disc(self, cx, cy, r, colour):
        box = (int(cx - r) - 1, int(cy - r) - 1, int(cx + r) + 1, int(cy + r) + 1)
        self.fill_where(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour, box)

    def ring(self, cx, cy, r_in, r_out, colour):
        box = (int(cx - r_out) - 1, int(cy - r_out) - 1, int(cx + r_out) + 1, int(cy + r_out) + 1)
        self.fill_where(lambda x, y: r_in * r_in < (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out,
                        colour, box)

    def smooth_disc(self, cx, cy, r, colour, samples=4):
        """A disc whose edge pixels are blended by their covered share (supersampled)."""
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                inside = 0
                for sy in range(samples):
                    for sx in range(samples):
                        px = x + (sx + 0.5) / samples
                        py = y + (sy + 0.5) / samples
                        if (px - cx) ** 2 + (py - cy) ** 2 <= r * r:
                            inside += 1
                self.blend(x, y, colour, inside / (samples * samples))

    def polygon(self, points, colour):
        """Fills a polygon given by (x, y) corners, by pixel centres (even-odd rule)."""
        ys = [p[1] for p in points]
        for y in range(max(0, int(min(ys))), min(self.height, int(math.ceil(max(ys))) + 1)):
            yc = y + 0.5
            crossings = []
            n = len(points)
            for i in range(n):
                (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
                if (ay <= yc < by) or (by <= yc < ay):
                    crossings.append(ax + (yc - ay) * (bx - ax) / (by - ay))
            crossings.sort()
            for a, b in zip(crossings[0::2], crossings[1::2]):
                for x in range(max(0, int(math.ceil(a - 0.5))), min(self.width, int(math.floor(b - 0.5)) + 1)):
                    self._rows[y][x] = colour

    def thick_line(self, x0, y0, x1, y1, width, colour):
        """A straight stroke of the given width between two points (by pixel centres)."""
        length = math.hypot(x1 - x0, y1 - y0) or 1.0
        nx, ny = -(y1 - y0) / length * width / 2, (x1 - x0) / length * width / 2
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)],
                     colour)

    def blit(self, source, x0, y0, transparent=None):
        """Copies source onto this canvas at (x0, y0), skipping pixels of the transparent colour."""
        for y in range(source.height):
            for x in range(source.width):
                c = source.get(x, y)
                if c != transparent:
                    self.set(x0 + x, y0 + y, c)

    def scaled(self, factor):
        """A copy enlarged by an integer factor, nearest neighbour."""
        out = Canvas(self.width * factor, self.height * factor)
        for y in range(self.height):
            wide = [c for c in self._rows[y] for _ in range(factor)]
            for k in range(factor):
                out._rows[y * factor + k] = list(wide)
        return out

    def mirrored(self):
        """A copy flipped left to right."""
        out = Canvas(self.width, self.height)
        out._rows = [list(reversed(r)) for r in self._rows]
        return out

    def colours(self):
        return {c for r in self._rows for c in r}
