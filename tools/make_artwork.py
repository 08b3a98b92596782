#!/usr/bin/env python3
"""Draws the program's stored artwork: the window icon, the About icon (32 x 32, 24 bits per
pixel) and the seven button glyphs (32 x 32, 8 bits per pixel with a 256-entry colour table,
the bottom-left pixel's colour being transparent). Shapes are rendered 4x supersampled and
averaged down, so edges are smooth. Run it from the repository root; it rewrites app/art/."""
import math
import os
import struct

SIZE = 32
SS = 4
N = SIZE * SS
ICON_MATTE = (240, 240, 240)   # what half-covered icon edge pixels are blended with
GLYPH_MATTE = (240, 240, 240)  # a button face: glyph edges blend into the button
GLYPH_KEY = (255, 0, 255)      # transparent colour of the glyphs


class Canvas:
    def __init__(self):
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * N for _ in range(N)]

    def _blend(self, x, y, color, alpha=1.0):
        r, g, b = color
        a = alpha
        pr, pg, pb, pa = self.px[y][x]
        out_a = a + pa * (1 - a)
        if out_a <= 0:
            return
        self.px[y][x] = ((r * a + pr * pa * (1 - a)) / out_a, (g * a + pg * pa * (1 - a)) / out_a,
                         (b * a + pb * pa * (1 - a)) / out_a, out_a)

    def fill(self, inside, color):
        """color is an (r, g, b) or a function of (u, v) in 0..32 giving one."""
        for y in range(N):
            v = (y + 0.5) / SS
            for x in range(N):
                u = (x + 0.5) / SS
                if inside(u, v):
                    self._blend(x, y, color(u, v) if callable(color) else color)

    def poly(self, points, color):
        self.fill(lambda u, v: point_in_poly(u, v, points), color)

    def circle(self, cx, cy, r, color):
        self.fill(lambda u, v: (u - cx) ** 2 + (v - cy) ** 2 <= r * r, color)

    def ring(self, cx, cy, r0, r1, a0, a1, color):
        def inside(u, v):
            d = math.hypot(u - cx, v - cy)
            if not r0 <= d <= r1:
                return False
            ang = math.degrees(math.atan2(v - cy, u - cx)) % 360
            return (a0 <= ang <= a1) if a0 <= a1 else (ang >= a0 or ang <= a1)
        self.fill(inside, color)

    def rrect(self, x0, y0, x1, y1, r, color):
        def inside(u, v):
            if not (x0 <= u <= x1 and y0 <= v <= y1):
                return False
            cx = min(max(u, x0 + r), x1 - r)
            cy = min(max(v, y0 + r), y1 - r)
            return (u - cx) ** 2 + (v - cy) ** 2 <= r * r
        self.fill(inside, color)

    def rect(self, x0, y0, x1, y1, color):
        self.fill(lambda u, v: x0 <= u <= x1 and y0 <= v <= y1, color)

    def downsample(self, matte):
        """Returns 32 x 32 rows of ((r, g, b), coverage)."""
        rows = []
        for y in range(SIZE):
            row = []
            for x in range(SIZE):
                r = g = b = a = 0.0
                for sy in range(SS):
                    for sx in range(SS):
                        pr, pg, pb, pa = self.px[y * SS + sy][x * SS + sx]
                        r += pr * pa
                        g += pg * pa
                        b += pb * pa
                        a += pa
                cover = a / (SS * SS)
                if a > 0:
                    r, g, b = r / a, g / a, b / a
                mixed = tuple(int(round(c * cover + m * (1 - cover))) for c, m in zip((r, g, b), matte))
                row.append((mixed, cover))
            rows.append(row)
        return rows


def point_in_poly(x, y, pts):
    inside = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def vgrad(top, bottom, y0, y1):
    def color(u, v):
        t = min(max((v - y0) / (y1 - y0), 0.0), 1.0)
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return color


# ---- drawings -------------------------------------------------------------------------

def landscape(c, x0, y0, x1, y1):
    """A framed photograph: sky, sun, two hills."""
    c.rrect(x0, y0, x1, y1, 2.5, (250, 250, 250))
    c.rrect(x0 + 0.6, y0 + 0.6, x1 - 0.6, y1 - 0.6, 2, (120, 130, 145))
    c.rect(x0 + 2, y0 + 2, x1 - 2, y1 - 2, vgrad((70, 140, 230), (170, 215, 250), y0 + 2, y1 - 2))
    w, h = x1 - x0, y1 - y0
    c.circle(x0 + w * 0.72, y0 + h * 0.3, h * 0.13, (255, 205, 40))
    c.poly([(x0 + 2, y1 - 2), (x0 + 2, y0 + h * 0.62), (x0 + w * 0.38, y0 + h * 0.38),
            (x0 + w * 0.7, y1 - 2)], vgrad((90, 170, 80), (40, 110, 50), y0 + h * 0.38, y1))
    c.poly([(x0 + w * 0.3, y1 - 2), (x0 + w * 0.66, y0 + h * 0.52), (x1 - 2, y0 + h * 0.72), (x1 - 2, y1 - 2)],
           vgrad((120, 195, 90), (60, 140, 60), y0 + h * 0.52, y1))


def draw_main_icon(c):
    c.rrect(1, 3, 31, 29, 4, (60, 70, 90))
    landscape(c, 2, 4, 30, 28)


def draw_about_icon(c):
    c.rrect(1, 1, 27, 24, 3, (60, 70, 90))
    landscape(c, 2, 2, 26, 23)
    c.circle(23, 23, 8.5, (255, 255, 255))
    c.circle(23, 23, 7.5, vgrad((60, 150, 240), (20, 80, 180), 15, 31))
    c.circle(23, 19.2, 1.3, (255, 255, 255))
    c.rrect(22, 21.5, 24, 27.5, 0.6, (255, 255, 255))


def draw_folder(c):
    c.poly([(3, 8), (12, 8), (14, 11), (27, 11), (27, 26), (3, 26)], vgrad((230, 170, 40), (200, 130, 20), 8, 26))
    c.poly([(7, 14), (31, 14), (27, 27), (3, 27)], vgrad((255, 220, 110), (240, 180, 50), 14, 27))
    c.poly([(7.6, 14.6), (30.2, 14.6), (29.9, 15.4), (7.4, 15.4)], (255, 240, 190))


def draw_arrow(c, right):
    pts = [(4, 12), (17, 12), (17, 5), (29, 16), (17, 27), (17, 20), (4, 20)]
    if not right:
        pts = [(32 - x, y) for x, y in pts]
    c.poly([(x + 0.8, y + 1.0) for x, y in pts], (120, 120, 120))
    c.poly(pts, vgrad((110, 210, 90), (30, 140, 40), 5, 27))
    shine = [(4.8, 12.8), (17.6, 12.8), (17.6, 7.0), (26, 15), (4.8, 15)]
    if not right:
        shine = [(32 - x, y) for x, y in shine]
    c.poly(shine, (170, 235, 150))


def disk(c, x0, y0, s, body=(40, 90, 180)):
    def p(x, y):
        return (x0 + x * s, y0 + y * s)
    c.poly([p(0, 0), p(19, 0), p(22, 3), p(22, 22), p(0, 22)], vgrad(body, tuple(v * 0.7 for v in body), y0, y0 + 22 * s))
    c.rect(*p(4, 0), *p(17, 8), (215, 220, 230))
    c.rect(*p(13, 1.5), *p(15.5, 6.5), (60, 70, 90))
    c.rrect(*p(3, 12), *p(19, 22), 1 * s, (250, 250, 250))
    for line in (15, 18):
        c.rect(*p(5, line), *p(17, line + 0.8), (150, 160, 180))


def draw_save(c):
    disk(c, 5, 5, 1.0)


def draw_save_all(c):
    disk(c, 1, 1, 0.85, (90, 120, 190))
    disk(c, 9, 9, 0.95)


def draw_source_picture(c):
    c.poly([(6, 2), (20, 2), (27, 9), (27, 30), (6, 30)], (250, 250, 250))
    c.poly([(6.8, 2.8), (19.6, 2.8), (26.2, 9.4), (26.2, 29.2), (6.8, 29.2)], (250, 250, 250))
    c.poly([(20, 2), (27, 9), (20, 9)], (200, 205, 215))
    c.fill(lambda u, v: (6 <= u <= 27 and 2 <= v <= 30) and not (6.9 <= u <= 26.1 and 2.9 <= v <= 29.1)
           and not (u > 20 and v < 9 and (u - 20) > (v - 2)), (110, 120, 140))
    landscape(c, 9, 12, 24, 26)


def draw_generate(c):
    landscape(c, 1, 1, 21, 18)
    c.ring(20, 21, 6.5, 10, 200, 20, vgrad((255, 170, 60), (220, 100, 20), 11, 31))
    c.poly([(27, 14), (31.5, 22.5), (23, 22.5)], (230, 120, 30))
    c.ring(20, 21, 6.5, 10, 20, 200, vgrad((120, 200, 255), (40, 120, 220), 11, 31))
    c.poly([(13, 28), (8.5, 19.5), (17, 19.5)], (40, 120, 220))


# ---- writers --------------------------------------------------------------------------

def dib_header(width, height, bits, colors=0, image_bytes=0):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, image_bytes, 0, 0, colors, 0)


def rows_24(pixels):
    out = b''
    for row in reversed(pixels):
        line = b''.join(struct.pack('BBB', b, g, r) for (r, g, b) in row)
        out += line + b'\0' * ((4 - len(line) % 4) % 4)
    return out


def write_icon(path, canvas):
    data = canvas.downsample(ICON_MATTE)
    # Windows draws an icon as "screen AND mask, then XOR colour": a transparent pixel must
    # hold black, or its colour is XOR-ed into whatever lies behind the icon.
    pixels = [[(0, 0, 0) if cover < 0.5 else c for c, cover in row] for row in data]
    colour = rows_24(pixels)
    mask = b''
    for row in reversed(data):
        bits = 0
        for x, (_, cover) in enumerate(row):
            if cover < 0.5:
                bits |= 1 << (31 - x)
        mask += struct.pack('>I', bits)
    image = dib_header(SIZE, SIZE * 2, 24) + colour + mask
    header = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 24, len(image), 22)
    with open(path, 'wb') as f:
        f.write(header + image)


def quantize(pixels):
    counts = {}
    for row in pixels:
        for p in row:
            counts[p] = counts.get(p, 0) + 1
    palette = list(counts)
    step = 4
    while len(palette) > 256:
        def snap(p):
            return tuple(min(255, (c // step) * step + step // 2) for c in p) if p != GLYPH_KEY else p
        merged = {}
        for p, n in counts.items():
            merged[snap(p)] = merged.get(snap(p), 0) + n
        palette = list(merged)
        step *= 2
    palette.sort(key=lambda p: p != GLYPH_KEY)
    palette += [(0, 0, 0)] * (256 - len(palette))

    def nearest(p):
        return min(range(256), key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], p)))
    cache = {}
    indexed = [[cache.setdefault(p, nearest(p)) for p in row] for row in pixels]
    return palette, indexed


def write_glyph(path, canvas):
    data = canvas.downsample(GLYPH_MATTE)
    pixels = [[GLYPH_KEY if cover < 0.1 else colour for colour, cover in row] for row in data]
    pixels[SIZE - 1][0] = GLYPH_KEY  # the bottom-left pixel names the transparent colour
    palette, indexed = quantize(pixels)
    table = b''.join(struct.pack('BBBB', b, g, r, 0) for (r, g, b) in palette)
    bits = b''.join(bytes(row) for row in reversed(indexed))
    info = dib_header(SIZE, SIZE, 8, 256, len(bits)) + table
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(bits), 0, 0, 14 + len(info))
    with open(path, 'wb') as f:
        f.write(file_header + info + bits)


ICONS = {'MainIcon.ico': draw_main_icon, 'AboutIcon.ico': draw_about_icon}
GLYPHS = {
    'GlyphOpen.bmp': draw_folder,
    'GlyphNext.bmp': lambda c: draw_arrow(c, True),
    'GlyphPrevious.bmp': lambda c: draw_arrow(c, False),
    'GlyphSaveAll.bmp': draw_save_all,
    'GlyphSave.bmp': draw_save,
    'GlyphSourcePicture.bmp': draw_source_picture,
    'GlyphGenerate.bmp': draw_generate,
}

if __name__ == '__main__':
    out = os.path.join('app', 'art')
    os.makedirs(out, exist_ok=True)
    for name, draw in ICONS.items():
        c = Canvas()
        draw(c)
        write_icon(os.path.join(out, name), c)
    for name, draw in GLYPHS.items():
        c = Canvas()
        draw(c)
        write_glyph(os.path.join(out, name), c)
