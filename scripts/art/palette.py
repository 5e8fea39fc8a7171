# The one palette every toolbar glyph and icon is drawn from, so that the buttons look like a set:
# black outlines, white paper, greys for metal and shade, and a few clear colours.
FACE = (192, 192, 192)        # button face and toolbar background, 0xC0C0C0
HIGHLIGHT = (255, 255, 255)   # lit edge of a raised face
SHADOW = (128, 128, 128)      # shaded edge, and the etched glyph of a disabled button
DARK_EDGE = (64, 64, 64)      # outermost shaded edge of a button

# Characters of the glyph maps. "." leaves the button face showing.
GLYPH = {
    ".": None,
    "k": (0, 0, 0),           # outline
    "w": (255, 255, 255),     # paper
    "h": (216, 216, 216),     # paper in shade
    "c": (255, 246, 214),     # card stock
    "m": (176, 176, 184),     # metal
    "g": (128, 128, 128),     # grey: lines of writing, metal in shade
    "d": (64, 64, 72),        # dark metal
    "y": (255, 226, 96),      # yellow
    "Y": (214, 164, 40),      # yellow in shade
    "o": (150, 96, 36),       # wood, dark
    "O": (206, 148, 70),      # wood
    "t": (236, 204, 152),     # bare wood of a pencil
    "b": (32, 96, 208),       # blue
    "B": (132, 178, 242),     # light blue
    "n": (28, 52, 132),       # navy
    "r": (210, 36, 36),       # red
    "R": (244, 156, 156),     # pink
}
