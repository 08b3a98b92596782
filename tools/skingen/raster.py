"""A small RGB raster for drawing skin pictures: shapes by signed distance (anti-aliased
against what is already drawn), gradients, and BMP / PNG output."""
import math
import struct
import zlib

MAGENTA = (255, 0, 255)


def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    t = 0.0 if t < 0 else 1.0 if t > 1 else t
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def lighten(c, t):
    return mix(c, (255, 255, 255), t)


def darken(c, t):
    return mix(c, (0, 0, 0), t)


def ramp(stops, t):
    """Colour at t along [(position, colour), ...] sorted by position."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 1)
    return stops[-1][1]


class Image:
    def __init__(self, width, height, fill=(0, 0, 0)):
        self.width = width
        self.height = height
        self.px = [fill] * (width * height)

    def get(self, x, y):
        return self.px[y * self.width + x]

    def set(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y * self.width + x] = c

    def blend(self, x, y, c, alpha):
        if alpha <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        i = y * self.width + x
        self.px[i] = c if alpha >= 1 else mix(self.px[i], c, alpha)

    def fill(self, x0, y0, x1, y1, colour):
        """Fills [x0, x1) × [y0, y1); colour may be a function of (x, y)."""
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.px[y * self.width + x] = colour(x, y) if callable(colour) else colour

    def paint(self, sdf, colour, box=None, hard=False):
        """Covers the pixels inside sdf (negative inside). Edges are anti-aliased unless hard;
        colour may be a function of (x, y)."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for y in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)))):
            for x in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)))):
                d = sdf(x + 0.5, y + 0.5)
                cover = (1.0 if d <= 0 else 0.0) if hard else 0.5 - d
                if cover > 0:
                    self.blend(x, y, colour(x, y) if callable(colour) else colour, min(cover, 1.0))

    def blit(self, src, dx, dy, sx=0, sy=0, w=None, h=None, key=None):
        """Copies a part of src; pixels of colour `key` are skipped."""
        w = src.width - sx if w is None else w
        h = src.height - sy if h is None else h
        for y in range(h):
            for x in range(w):
                c = src.get(sx + x, sy + y)
                if c != key:
                    self.set(dx + x, dy + y, c)

    def crop(self, x, y, w, h):
        out = Image(w, h)
        out.blit(self, 0, 0, x, y, w, h)
        return out

    def scaled(self, factor):
        out = Image(self.width * factor, self.height * factor)
        for y in range(out.height):
            for x in range(out.width):
                out.px[y * out.width + x] = self.px[(y // factor) * self.width + x // factor]
        return out

    def flipped_vertically(self):
        out = Image(self.width, self.height)
        for y in range(self.height):
            row = self.px[y * self.width:(y + 1) * self.width]
            out.px[(self.height - 1 - y) * self.width:(self.height - y) * self.width] = row
        return out

    def bmp_bytes(self):
        """A 24-bit bottom-up Windows bitmap file."""
        row = (self.width * 3 + 3) & ~3
        pixels = bytearray()
        for y in range(self.height - 1, -1, -1):
            line = bytearray()
            for x in range(self.width):
                r, g, b = self.px[y * self.width + x]
                line += bytes((b, g, r))
            pixels += line + bytes(row - len(line))
        header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
        return header + info + bytes(pixels)

    def png_bytes(self):
        raw = bytearray()
        for y in range(self.height):
            raw.append(0)
            for c in self.px[y * self.width:(y + 1) * self.width]:
                raw += bytes(c)

        def chunk(kind, data):
            return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

        ihdr = struct.pack('>IIBBBBB', self.width, self.height, 8, 2, 0, 0, 0)
        return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + \
            chunk(b'IEND', b'')


# Signed distance functions (negative inside), in pixel coordinates.

def sdf_round_box(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0), max(qy, 0))
        return outside + min(max(qx, qy), 0) - r
    return f


def sdf_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sdf_segment(ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9

    def f(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - half_width
    return f


def sdf_polygon(points):
    """Convex or concave polygon given clockwise or anticlockwise."""
    def f(x, y):
        d = float('inf')
        inside = False
        n = len(points)
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            d = min(d, sdf_segment(ax, ay, bx, by, 0)(x, y))
            if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                inside = not inside
        return -d if inside else d
    return f


def sdf_union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def sdf_subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


# A 5 × 7 pixel font for the mock windows' captions and labels (ASCII only).
_FONT = {
    'A': "01110100011000111111100011000110001", 'B': "11110100011000111110100011000111110",
    'C': "01110100011000010000100001000101110", 'D': "11110100011000110001100011000111110",
    'E': "11111100001000011110100001000011111", 'F': "11111100001000011110100001000010000",
    'G': "01110100011000010111100011000101111", 'H': "10001100011000111111100011000110001",
    'I': "01110001000010000100001000010001110", 'J': "00111000100001000010000101001001100",
    'K': "10001100101010011000101001001010001", 'L': "10000100001000010000100001000011111",
    'M': "10001110111010110101100011000110001", 'N': "10001110011010110011100011000110001",
    'O': "01110100011000110001100011000101110", 'P': "11110100011000111110100001000010000",
    'Q': "01110100011000110001101011001001101", 'R': "11110100011000111110101001001010001",
    'S': "01111100001000001110000010000111110", 'T': "11111001000010000100001000010000100",
    'U': "10001100011000110001100011000101110", 'V': "10001100011000110001100010101000100",
    'W': "10001100011000110101101011010101010", 'X': "10001100010101000100010101000110001",
    'Y': "10001100010101000100001000010000100", 'Z': "11111000010001000100010001000011111",
    '0': "01110100011001110101110011000101110", '1': "00100011000010000100001000010001110",
    '2': "01110100010000100010001000100011111", '3': "11111000100010000010000011000101110",
    '4': "00010001100101010010111110001000010", '5': "11111100001111000001000011000101110",
    '6': "00110010001000011110100011000101110", '7': "11111000010001000100010000100001000",
    '8': "01110100011000101110100011000101110", '9': "01110100011000101111000010001001100",
    ' ': "00000000000000000000000000000000000", '.': "00000000000000000000000000011000110",
    '-': "00000000000000011111000000000000000", ':': "00000011000110000000011000110000000",
    '%': "11000110010001000100010001001100011", '(': "00010001000100001000010000010000010",
    ')': "01000001000001000010000100010001000", '/': "00000000010001000100010001000000000",
}


def text_width(text, scale=1):
    return len(text) * 6 * scale - scale


def draw_text(img, x, y, text, colour, scale=1):
    for ch in text:
        glyph = _FONT.get(ch.upper(), _FONT[' '])
        lower = ch.islower()
        for row in range(7):
            for col in range(5):
                if glyph[row * 5 + col] == '1':
                    if lower and row == 0:
                        continue
                    for sy in range(scale):
                        for sx in range(scale):
                            img.set(x + col * scale + sx, y + row * scale + sy, colour)
        x += 6 * scale
