# Writers of the image files the artwork is saved as: Windows bitmaps (24-bit and 8-bit indexed,
# uncompressed, bottom-up, rows padded to 4 bytes), icon files (one 32-bit image with its AND
# mask) and PNG files (RGB contact sheets, RGBA desktop icons). Standard library only; every
# writer is deterministic.
import struct
import zlib


def _rgb_rows(canvas):
    """Rows of the canvas from top to bottom, each a list of (r, g, b)."""
    return [canvas.row(y) for y in range(canvas.height)]


def bmp_bytes_24(canvas):
    """A 24-bit BI_RGB bitmap file of the canvas."""
    w, h = canvas.width, canvas.height
    stride = (w * 3 + 3) & ~3
    pad = b"\0" * (stride - w * 3)
    body = bytearray()
    for row in reversed(_rgb_rows(canvas)):
        for r, g, b in row:
            body += bytes((b, g, r))
        body += pad
    return _bmp_file(w, h, 24, b"", bytes(body), 0)


def bmp_bytes_8(canvas):
    """An 8-bit indexed BI_RGB bitmap file of the canvas. The palette holds the canvas's distinct
    colours in ascending order, so the same picture always gives the same file; more than 256
    colours is an error of the drawing."""
    w, h = canvas.width, canvas.height
    colours = sorted({c for row in _rgb_rows(canvas) for c in row})
    if len(colours) > 256:
        raise ValueError("%d colours do not fit an 8-bit palette" % len(colours))
    index = {c: i for i, c in enumerate(colours)}
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    stride = (w + 3) & ~3
    pad = b"\0" * (stride - w)
    body = bytearray()
    for row in reversed(_rgb_rows(canvas)):
        body += bytes(index[c] for c in row)
        body += pad
    return _bmp_file(w, h, 8, table, bytes(body), len(colours))


def _bmp_file(w, h, bits, colour_table, body, used_colours):
    header_size = 14 + 40
    offset = header_size + len(colour_table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    # 2835 pixels per metre is 72 dots per inch.
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(body), 2835, 2835,
                       used_colours, 0)
    return file_header + info + colour_table + body


def ico_bytes(canvas, alpha):
    """An icon file with one 32-bit image of the canvas. alpha(x, y) gives 0..255; the AND mask
    marks every pixel whose alpha is below 128 as transparent, for readers that ignore alpha."""
    w, h = canvas.width, canvas.height
    if w > 256 or h > 256:
        raise ValueError("icon too large")
    xor = bytearray()
    for y in reversed(range(h)):
        for x in range(w):
            r, g, b = canvas.get(x, y)
            xor += bytes((b, g, r, alpha(x, y)))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(h)):
        row = bytearray(mask_stride)
        for x in range(w):
            if alpha(x, y) < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    image = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(xor) + len(mask),
                        0, 0, 0, 0) + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def png_bytes(canvas):
    """An 8-bit RGB PNG file of the canvas."""
    raw = bytearray()
    for row in _rgb_rows(canvas):
        raw.append(0)
        for c in row:
            raw += bytes(c)
    return _png(canvas.width, canvas.height, 2, raw)


def _png(width, height, colour_type, raw):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def png_rgba_bytes(canvas, alpha):
    """An 8-bit RGBA PNG file of the canvas with alpha(x, y) as its alpha channel."""
    raw = bytearray()
    for y, row in enumerate(_rgb_rows(canvas)):
        raw.append(0)
        for x, c in enumerate(row):
            raw += bytes(c) + bytes((alpha(x, y),))
    return _png(canvas.width, canvas.height, 6, raw)


def write(path, data):
    """Writes the bytes, leaving a file that already holds them untouched."""
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return False
    except FileNotFoundError:
        pass
    with open(path, "wb") as f:
        f.write(data)
    return True
