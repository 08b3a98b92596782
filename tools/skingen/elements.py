"""Draws every picture of a skin from its theme (themes.py). Each function returns the
picture; cells of multi-state pictures are laid out as the skin engine reads them (see
skin/draw/SkinElementLayout.h)."""
import math

from raster import (MAGENTA, Image, darken, lighten, mix, ramp, sdf_circle, sdf_polygon, sdf_round_box,
                    sdf_segment, sdf_union)

# Widths of the caption's fixed left part, its stretched or tiled middle, and its fixed right
# part in the frame template; the borders are cut from that template.
TOP_LEFT, TOP_MIDDLE, TOP_RIGHT = 48, 64, 48
SIDE_MIDDLE = 40
PATTERN = 64  # the caption textures repeat every 64 (or 16, 32) pixels across
CRENEL_DEPTH = 6


def strip(cells, stacked=False):
    """Joins equal cells side by side, or one above the other."""
    w, h = cells[0].width, cells[0].height
    out = Image(w if stacked else w * len(cells), h * len(cells) if stacked else h)
    for i, cell in enumerate(cells):
        out.blit(cell, 0 if stacked else i * w, i * h if stacked else 0)
    return out


def desaturate(c, t=0.6):
    grey = int(0.3 * c[0] + 0.59 * c[1] + 0.11 * c[2])
    return mix(c, (grey, grey, grey), t)


def _hash(*values):
    h = 2166136261
    for v in values:
        h = ((h ^ (v & 0xFFFFFFFF)) * 16777619) & 0xFFFFFFFF
    return h / 0xFFFFFFFF


# ---- caption textures: colour at (x, y) given the gradient colour there ----

def _texture_gloss(t, x, y, c, active):
    band = t['caption'] * 0.46
    return lighten(c, 0.28 * (1 - y / band)) if y < band else c


def _texture_leaves(t, x, y, c, active):
    leaf = lighten(c, 0.22) if active else lighten(c, 0.12)
    vein = darken(c, 0.18)
    xm = x % PATTERN
    for lx, ly, a, b, ang in ((8, 20, 9, 3.2, -0.5), (30, 8, 8, 2.8, 0.6), (47, 22, 10, 3.4, 0.35),
                              (58, 6, 7, 2.6, -0.7), (20, 2, 6, 2.2, 0.2)):
        for shift in (-PATTERN, 0, PATTERN):
            dx, dy = xm - lx - shift + 0.5, y - ly + 0.5
            u = dx * math.cos(ang) + dy * math.sin(ang)
            v = -dx * math.sin(ang) + dy * math.cos(ang)
            if abs(u) >= a:
                continue
            half = b * (1 - (u / a) ** 2)  # pointed at both ends
            if abs(v) < half:
                return vein if abs(v) < 0.45 and abs(u) < a * 0.8 else mix(c, leaf, min(1, (half - abs(v)) * 1.5))
    return c


def _texture_fields(t, x, y, c, active):
    T = t['caption']
    hill = T * 0.58 + 3 * math.sin(2 * math.pi * x / PATTERN)
    near = T * 0.8 + 2 * math.sin(2 * math.pi * x / 32 + 1.3)
    if y > near:
        c = darken(c, 0.12)
        if (x + y) % 6 == 0:
            c = darken(c, 0.08)
    elif y > hill:
        c = lighten(c, 0.14 if active else 0.08)
        if int(y - hill) == 0:
            c = lighten(c, 0.2)
    return c


def _texture_bricks(t, x, y, c, active):
    if y < CRENEL_DEPTH:
        return lighten(c, 0.08)
    row = (y - CRENEL_DEPTH) // 8
    if (y - CRENEL_DEPTH) % 8 == 7:
        return darken(c, 0.3)
    if (x + (row % 2) * 8) % 16 == 15:
        return darken(c, 0.3)
    brick = (x + (row % 2) * 8) // 16
    return lighten(c, 0.06 * _hash(brick % 4, row)) if (y - CRENEL_DEPTH) % 8 == 0 else darken(c, 0.06 * _hash(brick % 4, row, 7))


def _texture_brushed(t, x, y, c, active):
    streak = 0.05 * (_hash(y) - 0.5) + 0.025 * math.sin(2 * math.pi * x / PATTERN * 3 + y)
    return lighten(c, streak) if streak > 0 else darken(c, -streak)


def _texture_dunes(t, x, y, c, active):
    T = t['caption']
    ridge = T * 0.52 + 4 * math.sin(2 * math.pi * x / PATTERN) + 2 * math.sin(2 * math.pi * x / 32 + 1)
    near = T * 0.78 + 3 * math.sin(2 * math.pi * x / PATTERN + 2.2)
    sand = (216, 152, 80) if active else (214, 196, 168)
    deep = (190, 118, 56) if active else (200, 180, 150)
    if y > near:
        return mix(deep, darken(deep, 0.15), (y - near) / 6)
    if y > ridge:
        c = mix(c, sand, 0.65)
        return lighten(c, 0.25) if y - ridge < 1 else c
    return c


TEXTURES = dict(gloss=_texture_gloss, plain=lambda t, x, y, c, a: c, leaves=_texture_leaves,
                fields=_texture_fields, bricks=_texture_bricks, brushed=_texture_brushed, dunes=_texture_dunes)


def caption_colour(t, x, y, active):
    stops = t['caption_active'] if active else t['caption_inactive']
    c = ramp(stops, y / max(1, t['caption'] - 1))
    return TEXTURES[t['texture']](t, x, y, c, active)


# ---- the window frame ----

def _frame_shape(t, w, h):
    top = sdf_round_box(0, 0, w, h + 2 * t['radius'], t['radius']) if t['radius'] else None
    bottom = sdf_round_box(0, -2 * t['bottom_radius'], w, h, t['bottom_radius']) if t['bottom_radius'] else None

    def f(x, y):
        d = max(x - w, -x, y - h, -y)
        if top and y < h / 2:
            d = max(d, top(x, y))
        if bottom and y >= h / 2:
            d = max(d, bottom(x, y))
        return d
    return f


def _crenel(t, w, x, y):
    """The castle's battlements: gaps cut into the top of the caption."""
    return t['texture'] == 'bricks' and 0 <= y < CRENEL_DEPTH and t['border'] + 4 <= x < w - t['border'] - 4 and \
        x % 16 >= 9


def frame_template(t, active):
    """A whole window frame (caption, borders) around an empty client area."""
    L, T, B = t['border'], t['caption'], t['bottom']
    w = L + TOP_LEFT + TOP_MIDDLE + TOP_RIGHT + L
    h = T + SIDE_MIDDLE + B
    shape = _frame_shape(t, w, h)
    outline = t['outline'] if active else t['outline_inactive']
    body = t['frame'] if active else t['frame_inactive']
    light = t['frame_light'] if active else lighten(t['frame_inactive'], 0.4)
    img = Image(w, h, MAGENTA)
    for y in range(h):
        for x in range(w):
            d = shape(x + 0.5, y + 0.5)
            if d > 0 or _crenel(t, w, x, y):
                continue
            inside_client = L <= x < w - L and T <= y < h - B
            if inside_client:
                c = t['face']
            elif y < T:
                c = caption_colour(t, x, y, active)
                if y == T - 1 and L <= x < w - L:
                    c = darken(c, 0.25)
            else:
                c = body
                if x == L - 1 or x == w - L or y == h - B:
                    c = darken(body, 0.3)
                elif d > -2:
                    c = light
            if d > -1.25 or _crenel(t, w, x, y - 1) or _crenel(t, w, x - 1, y) or _crenel(t, w, x + 1, y):
                c = mix(c, outline, 0.85)
            elif d > -2.25 and y < T:
                c = lighten(c, 0.3)
            img.set(x, y, c)
    return img


def frame_borders(t):
    """The four borders, cut from the active and inactive templates."""
    L, T, B = t['border'], t['caption'], t['bottom']
    parts = {}
    templates = [frame_template(t, True), frame_template(t, False)]
    w, h = templates[0].width, templates[0].height
    parts['left'] = strip([tp.crop(0, 0, L, h) for tp in templates])
    parts['right'] = strip([tp.crop(w - L, 0, L, h) for tp in templates])
    parts['top'] = strip([tp.crop(L, 0, w - 2 * L, T) for tp in templates], stacked=True)
    parts['bottom'] = strip([tp.crop(L, h - B, w - 2 * L, B) for tp in templates], stacked=True)
    return parts, templates


# ---- glyphs ----

def glyph_sdf(kind, cx, cy, k, weight=1.0):
    if kind == 'close':
        return sdf_union(sdf_segment(cx - k, cy - k, cx + k, cy + k, weight),
                         sdf_segment(cx - k, cy + k, cx + k, cy - k, weight))
    if kind == 'max':
        return sdf_union(sdf_segment(cx - k, cy - k + 0.5, cx + k, cy - k + 0.5, weight + 0.5),
                         sdf_segment(cx - k, cy - k, cx - k, cy + k, weight * 0.6),
                         sdf_segment(cx + k, cy - k, cx + k, cy + k, weight * 0.6),
                         sdf_segment(cx - k, cy + k, cx + k, cy + k, weight * 0.6))
    if kind == 'restore':
        s = k * 0.7
        a, b = cx - k * 0.35, cy + k * 0.35
        back = (cx + k * 0.35, cy - k * 0.35)
        return sdf_union(sdf_segment(back[0] - s, back[1] - s, back[0] + s, back[1] - s, weight * 0.8),
                         sdf_segment(back[0] + s, back[1] - s, back[0] + s, back[1] + s, weight * 0.6),
                         sdf_segment(a - s, b - s + 0.4, a + s, b - s + 0.4, weight + 0.3),
                         sdf_segment(a - s, b - s, a - s, b + s, weight * 0.6),
                         sdf_segment(a + s, b - s, a + s, b + s, weight * 0.6),
                         sdf_segment(a - s, b + s, a + s, b + s, weight * 0.6))
    if kind == 'min':
        return sdf_segment(cx - k, cy + k - 0.5, cx + k * 0.4, cy + k - 0.5, weight + 0.2)
    if kind in ('up', 'down', 'left', 'right'):
        s = k
        pts = {'up': [(cx - s, cy + s * 0.5), (cx + s, cy + s * 0.5), (cx, cy - s * 0.6)],
               'down': [(cx - s, cy - s * 0.5), (cx + s, cy - s * 0.5), (cx, cy + s * 0.6)],
               'left': [(cx + s * 0.5, cy - s), (cx + s * 0.5, cy + s), (cx - s * 0.6, cy)],
               'right': [(cx - s * 0.5, cy - s), (cx - s * 0.5, cy + s), (cx + s * 0.6, cy)]}[kind]
        return sdf_polygon(pts)
    if kind == 'check':
        return sdf_union(sdf_segment(cx - k, cy, cx - k * 0.3, cy + k * 0.7, weight),
                         sdf_segment(cx - k * 0.3, cy + k * 0.7, cx + k, cy - k * 0.8, weight))
    raise ValueError(kind)


def _rounded(size_w, size_h, shape, radius, inset=0.0):
    if shape == 'circle':
        return sdf_circle(size_w / 2, size_h / 2, min(size_w, size_h) / 2 - 0.5 - inset)
    return sdf_round_box(0.5 + inset, 0.5 + inset, size_w - 0.5 - inset, size_h - 0.5 - inset,
                         max(0, radius - inset))


def _shape_on_magenta(w, h, outer, background, draw_body):
    """Draws a shape anti-aliased against `background` (a function of y), then turns every
    pixel the shape does not touch magenta."""
    img = Image(w, h)
    img.fill(0, 0, w, h, lambda x, y: background(y))
    draw_body(img)
    for y in range(h):
        for x in range(w):
            if outer(x + 0.5, y + 0.5) >= 0.5:
                img.set(x, y, MAGENTA)
    return img


def button_body(img, w, h, shape, radius, top, bottom, border, gloss=False, ring=None):
    outer = _rounded(w, h, shape, radius)
    img.paint(outer, border)
    inner = _rounded(w, h, shape, radius, 1.0)
    img.paint(inner, lambda x, y: mix(top, bottom, y / max(1, h - 1)))
    if ring:
        img.paint(lambda x, y: max(inner(x, y), -_rounded(w, h, shape, radius, 2.2)(x, y)), ring)
    if gloss:
        hl = sdf_round_box(w * 0.18, 1.6, w * 0.82, h * 0.5, min(h * 0.22, max(1, radius)))
        img.paint(lambda x, y: max(hl(x, y), inner(x, y)), lambda x, y: lighten(img.get(x, y), 0.45 * (1 - y / (h * 0.5))))


def caption_button(t, kind, state, active_caption_y):
    """One cell: state 0 normal, 1 pressed, 2 mouse over, 3 inactive window."""
    button = t['caption_button']
    s = button['size']
    base = button['close'] if kind == 'close' else button['base']
    glyph = button.get('close_glyph', button['glyph']) if kind == 'close' else button['glyph']
    border = button['border']
    if state == 1:
        base, glyph = darken(base, 0.25), glyph
    elif state == 2:
        base = lighten(base, 0.25)
    elif state == 3:
        base, border, glyph = desaturate(lighten(base, 0.25)), desaturate(lighten(border, 0.3)), lighten(desaturate(glyph), 0.2)
    bg = lambda y: caption_colour(t, 0, active_caption_y + y, state != 3)
    outer = _rounded(s, s, button['shape'], button.get('radius', 0))

    def body(img):
        button_body(img, s, s, button['shape'], button.get('radius', 0), lighten(base, 0.3), darken(base, 0.1),
                    border, gloss=button['gloss'] and state != 1)
        if button['shape'] == 'square':
            img.fill(1, 1, s - 1, 2, lighten(base, 0.45))
            img.fill(1, 1, 2, s - 1, lighten(base, 0.45))
            img.fill(1, s - 2, s - 1, s - 1, darken(base, 0.35))
            img.fill(s - 2, 1, s - 1, s - 1, darken(base, 0.35))
        shift = 0.6 if state == 1 else 0
        img.paint(glyph_sdf(kind, s / 2 + shift, s / 2 + shift, s * 0.2, 1.05), glyph)
    return _shape_on_magenta(s, s, outer, bg, body)


def caption_buttons(t):
    s = t['caption_button']['size']
    y = (t['caption'] - s) // 2
    return {kind: strip([caption_button(t, kind, st, y) for st in range(4)]) for kind in ('close', 'max', 'restore', 'min')}


def mdi_buttons(t):
    """Twelve 16 × 14 columns: minimise, restore, close of a child window, four states each
    (normal, pressed, inactive, mouse over)."""
    cells = []
    for kind in ('min', 'restore', 'close'):
        for state in (0, 1, 3, 2):
            base = t['push']['bottom'] if state != 2 else lighten(t['push']['hot'], 0.5)
            if state == 1:
                base = darken(base, 0.15)
            border = desaturate(t['push']['border']) if state == 3 else t['push']['border']
            glyph = t['shadow'] if state == 3 else t['text']
            img = Image(16, 14, t['menubar'])
            button_body(img, 16, 14, 'round', 2, lighten(base, 0.5), base, border)
            img.paint(glyph_sdf(kind, 8, 7, 3.2, 0.8), glyph)
            cells.append(img)
    return strip(cells)


# ---- push buttons, check boxes, radio buttons ----

def push_button(t):
    """Cells: normal, pressed, disabled, focused or mouse over, default."""
    p = t['push']
    w, h = 30, 22
    cells = []
    for state in range(5):
        top, bottom, border, ring = p['top'], p['bottom'], p['border'], None
        if state == 1:
            top, bottom = darken(p['bottom'], 0.08), p['top']
        elif state == 2:
            top, bottom, border = desaturate(lighten(top, 0.3)), desaturate(lighten(bottom, 0.4)), desaturate(lighten(border, 0.5))
        elif state == 3:
            ring = p['hot']
        elif state == 4:
            ring = lighten(t['accent'], 0.3)
        img = Image(w, h, t['face'])
        button_body(img, w, h, 'round', p['radius'], top, bottom, border, ring=ring)
        cells.append(img)
    return strip(cells)


def check_box(t):
    """Cells: unchecked, checked, disabled, indeterminate (13 × 13)."""
    p = t['push']
    cells = []
    for state in range(4):
        img = Image(13, 13, t['face'])
        border = desaturate(lighten(p['border'], 0.4)) if state == 2 else p['border']
        button_body(img, 13, 13, 'round', min(2, p['radius']), (255, 255, 255), lighten(p['bottom'], 0.3), border)
        if state == 1:
            img.paint(glyph_sdf('check', 6.5, 6.2, 3.6, 1.05), t['accent'])
        elif state == 2:
            img.paint(glyph_sdf('check', 6.5, 6.2, 3.6, 1.05), desaturate(lighten(t['accent'], 0.5)))
        elif state == 3:
            img.paint(sdf_round_box(3.5, 3.5, 9.5, 9.5, 1), t['accent'])
        cells.append(img)
    return strip(cells)


def radio_button(t):
    """Cells: unchecked, checked, disabled unchecked, disabled checked (13 × 13)."""
    p = t['push']
    cells = []
    for state in range(4):
        img = Image(13, 13, t['face'])
        disabled = state >= 2
        border = desaturate(lighten(p['border'], 0.4)) if disabled else p['border']
        button_body(img, 13, 13, 'circle', 0, (255, 255, 255), lighten(p['bottom'], 0.3), border)
        if state in (1, 3):
            dot = desaturate(lighten(t['accent'], 0.5)) if disabled else t['accent']
            img.paint(sdf_circle(6.5, 6.5, 2.8), lambda x, y: mix(lighten(dot, 0.4), dot, y / 9))
        cells.append(img)
    return strip(cells)


# ---- tabs, group box, menus, bars ----

def _corner(t, largest):
    """Corner radius of small elements: square skins keep square corners."""
    return min(largest, t['push']['radius'] + 1) if t['push']['radius'] else 0


def tabs(t):
    """Cells: normal, selected, mouse over, disabled, selected and pressed; then the page border."""
    p = t['push']
    w, h = 44, 22
    cells = []
    for state in range(5):
        top, bottom = darken(t['face'], 0.02), darken(t['face'], 0.1)
        line = None
        if state in (1, 4):
            top, bottom, line = (255, 255, 255), t['face'], t['accent']
        elif state == 2:
            top, bottom, line = (255, 255, 255), lighten(t['face'], 0.2), p['hot']
        elif state == 3:
            top, bottom = desaturate(t['face']), desaturate(darken(t['face'], 0.05))
        r = _corner(t, 4)
        img = Image(w, h + 4, MAGENTA)
        shape = sdf_round_box(0.5, 0.5, w - 0.5, h + 4, r)
        img.paint(shape, t['shadow'], hard=True)
        img.paint(sdf_round_box(1.5, 1.5, w - 1.5, h + 4, max(0, r - 1)), lambda x, y: mix(top, bottom, y / h), hard=True)
        if line:
            img.fill(3, 1, w - 3, 3, line)
        img = img.crop(0, 0, w, h)
        if state not in (1, 4):
            img.fill(0, h - 1, w, h, t['shadow'])
        cells.append(img)
    page = Image(24, 24, t['face'])
    page.fill(0, 0, 24, 1, t['shadow'])
    page.fill(0, 0, 1, 24, t['shadow'])
    page.fill(23, 0, 24, 24, t['dark_shadow'])
    page.fill(0, 23, 24, 24, t['dark_shadow'])
    page.fill(1, 1, 23, 2, t['light'])
    page.fill(1, 1, 2, 23, t['light'])
    page.fill(22, 1, 23, 23, t['shadow'])
    page.fill(1, 22, 23, 23, t['shadow'])
    return strip(cells), page


def group_box(t):
    """Cells: enabled, disabled; the inside and outside are transparent."""
    cells = []
    for colour in (t['shadow'], lighten(t['shadow'], 0.4)):
        r = _corner(t, 4)
        img = Image(24, 24, MAGENTA)
        ring = sdf_round_box(0.5, 0.5, 23.5, 23.5, r)
        middle = sdf_round_box(1.5, 1.5, 22.5, 22.5, max(0, r - 1))
        inner = sdf_round_box(2.5, 2.5, 21.5, 21.5, max(0, r - 2))
        img.paint(lambda x, y: max(ring(x, y), -middle(x, y)), colour, hard=True)
        img.paint(lambda x, y: max(middle(x, y), -inner(x, y)), t['light'], hard=True)
        cells.append(img)
    return strip(cells)


def menu_bar(t):
    cells = []
    for active in (True, False):
        top = lighten(t['menubar'], 0.45)
        bottom = t['menubar'] if active else desaturate(t['menubar'], 0.5)
        if not active:
            top = desaturate(top, 0.5)
        img = Image(64, 20)
        img.fill(0, 0, 64, 20, lambda x, y: mix(top, bottom, y / 19))
        img.fill(0, 19, 64, 20, t['shadow'])
        img.fill(0, 0, 64, 1, t['light'])
        cells.append(img)
    return strip(cells, stacked=True)


def menu_item(t):
    """Cells: normal (transparent), separator (a line in the lower rows), disabled, selected,
    selected and disabled."""
    w, h = 32, 20
    cells = []
    for state in range(5):
        img = Image(w, h, MAGENTA)
        if state == 1:
            img.fill(3, 15, w - 3, 16, t['shadow'])
            img.fill(3, 16, w - 3, 17, t['light'])
        elif state in (3, 4):
            hl = t['hilight'] if state == 3 else desaturate(t['hilight'])
            r = _corner(t, 3)
            img.paint(sdf_round_box(0.5, 0.5, w - 0.5, h - 0.5, r), darken(hl, 0.2), hard=True)
            img.paint(sdf_round_box(1.5, 1.5, w - 1.5, h - 1.5, max(0, r - 1)), lambda x, y: mix(lighten(hl, 0.3), hl, y / h),
                      hard=True)
        cells.append(img)
    return strip(cells)


def menu_background(t):
    img = Image(40, 40, t['menu'])
    img.fill(0, 0, 40, 40, t['dark_shadow'])
    img.fill(1, 1, 39, 39, lighten(t['menubar'], 0.2))
    img.fill(2, 2, 38, 38, t['menubar'])
    img.fill(3, 3, 37, 37, t['menu'])
    img.fill(3, 3, 4, 37, lighten(t['menubar'], 0.1))
    return img


def status_edges(t):
    """Cells: panel, last panel, size grip area."""
    cells = []
    for state in range(3):
        img = Image(20, 20, t['face'])
        img.fill(0, 0, 20, 1, t['shadow'])
        img.fill(0, 0, 1, 20, t['shadow'])
        img.fill(0, 19, 20, 20, t['light'])
        img.fill(19, 0, 20, 20, t['light'])
        if state == 2:
            for d in (5, 9, 13):
                img.paint(sdf_segment(19 - d, 18, 18, 19 - d, 0.6), t['shadow'])
        elif state == 1:
            img.fill(1, 1, 19, 2, lighten(t['shadow'], 0.4))
        cells.append(img)
    return strip(cells)


def combo_button(t):
    """Cells: normal, mouse over, pressed, disabled (17 × 20)."""
    p = t['push']
    cells = []
    for state in range(4):
        top, bottom, border, arrow = p['top'], p['bottom'], p['border'], t['text']
        if state == 1:
            top, bottom = lighten(p['hot'], 0.7), lighten(p['hot'], 0.3)
        elif state == 2:
            top, bottom = p['bottom'], p['top']
        elif state == 3:
            top, bottom, border, arrow = desaturate(top), desaturate(bottom), desaturate(lighten(border, 0.5)), t['shadow']
        img = Image(17, 20, (255, 255, 255))
        button_body(img, 17, 20, 'round', min(3, p['radius']), top, bottom, border)
        img.paint(glyph_sdf('down', 8.5, 10.5, 3.5), arrow)
        cells.append(img)
    return strip(cells)


def sunken_edge(t):
    """Cells: normal, mouse over, focused, disabled; the inside is transparent."""
    cells = []
    for colour in (t['shadow'], t['push']['hot'], t['accent'], lighten(t['shadow'], 0.45)):
        img = Image(20, 20, MAGENTA)
        img.fill(0, 0, 20, 20, colour)
        img.fill(1, 1, 19, 19, (255, 255, 255))
        img.fill(2, 2, 18, 18, MAGENTA)
        cells.append(img)
    return strip(cells)


def extra_images(t):
    """Drop-down arrows: normal, mouse over, pressed, disabled, highlighted (9 × 9)."""
    cells = []
    for colour in (t['text'], darken(t['accent'], 0.1), darken(t['text'], 0.3), t['shadow'], (255, 255, 255)):
        img = Image(9, 9, MAGENTA)
        img.paint(glyph_sdf('down', 4.5, 4.8, 3.6), colour, hard=True)
        cells.append(img)
    return strip(cells)


def flat_buttons(t, w, h, header=False):
    """Toolbar buttons and header sections: normal, mouse over, pressed, disabled, checked."""
    p = t['push']
    cells = []
    for state in range(5):
        img = Image(w, h, MAGENTA if not header else t['face'])
        if header:
            top, bottom = lighten(t['face'], 0.6), darken(t['face'], 0.04)
            if state == 2:
                top, bottom = darken(t['face'], 0.08), t['face']
            img.fill(0, 0, w, h, lambda x, y: mix(top, bottom, y / h))
            img.fill(w - 1, 3, w, h - 3, t['shadow'])
            img.fill(0, h - 1, w, h, t['shadow'])
            if state == 1:
                img.fill(0, h - 3, w, h, p['hot'])
            elif state == 4:
                img.fill(0, h - 3, w, h, t['accent'])
            elif state == 3:
                img.fill(0, 0, w, h, lambda x, y: desaturate(img.get(x, y)))
        elif state in (1, 2, 4):
            top, bottom = (lighten(p['hot'], 0.75), lighten(p['hot'], 0.4)) if state == 1 else \
                (lighten(p['bottom'], 0.1), lighten(p['top'], 0.0)) if state == 2 else (lighten(t['accent'], 0.75), lighten(t['accent'], 0.5))
            outer = sdf_round_box(0.5, 0.5, w - 0.5, h - 0.5, 3)
            img.paint(outer, p['border'] if state != 1 else darken(p['hot'], 0.2), hard=True)
            img.paint(sdf_round_box(1.5, 1.5, w - 1.5, h - 1.5, 2), lambda x, y: mix(top, bottom, y / h), hard=True)
        cells.append(img)
    return strip(cells)


def progress(t):
    """Two cells one above the other: the track, the bar."""
    w, h = 60, 14
    track = Image(w, h, t['face'])
    button_body(track, w, h, 'round', _corner(t, 3), darken(t['face'], 0.12), lighten(t['face'], 0.5), t['shadow'])
    bar = Image(w, h, darken(t['face'], 0.12))
    button_body(bar, w, h, 'round', _corner(t, 3), lighten(t['accent'], 0.45), darken(t['accent'], 0.05), darken(t['accent'], 0.35),
                gloss=True)
    for x in range(9, w - 4, 10):
        bar.fill(x, 2, x + 1, h - 2, lighten(t['accent'], 0.2))
    return strip([track, bar], stacked=True)


# ---- scroll bars ----

def _scroll_button(t, w, h, state):
    p = t['push']
    top, bottom, border = lighten(t['scroll'], 0.6), darken(t['scroll'], 0.06), darken(t['scroll'], 0.35)
    if state == 1:
        top, bottom, border = lighten(p['hot'], 0.7), lighten(p['hot'], 0.35), darken(p['hot'], 0.2)
    elif state == 2:
        top, bottom = darken(t['scroll'], 0.12), lighten(t['scroll'], 0.3)
    elif state == 3:
        top, bottom, border = desaturate(lighten(t['scroll'], 0.5)), desaturate(t['scroll']), lighten(border, 0.4)
    img = Image(w, h, t['scroll'])
    button_body(img, w, h, 'round', _corner(t, 3), top, bottom, border)
    return img


def scroll_arrows(t):
    """23 cells of 16 × 16: up, down, left and right arrows in four states each (normal,
    mouse over, pressed, disabled), the horizontal thumb's grip in three states, the vertical
    thumb's grip in three states, and the size grip."""
    cells = []
    for kind in ('up', 'down', 'left', 'right'):
        for state in range(4):
            img = _scroll_button(t, 16, 16, state)
            colour = t['shadow'] if state == 3 else darken(t['accent'], 0.3)
            img.paint(glyph_sdf(kind, 8, 8, 3.6), colour)
            cells.append(img)
    for vertical in (False, True):
        for state in range(3):
            img = Image(16, 16, MAGENTA)
            colour = lighten(t['accent'], 0.2) if state else darken(t['scroll'], 0.35)
            for k in (-3, 0, 3):
                if vertical:
                    img.fill(4, 8 + k, 12, 9 + k, colour)
                else:
                    img.fill(8 + k, 4, 9 + k, 12, colour)
            cells.append(img)
    grip = Image(16, 16, t['face'])
    for d in (4, 8, 12):
        grip.paint(sdf_segment(16 - d, 15, 15, 16 - d, 0.6), t['shadow'])
        grip.paint(sdf_segment(17 - d, 15, 15, 17 - d, 0.5), t['light'])
    cells.append(grip)
    return strip(cells)


def scroll_tracks(t):
    """Horizontal track cells one above the other (32 × 16), vertical ones side by side
    (16 × 32): normal, mouse over, pressed, disabled."""
    horizontal, vertical = [], []
    for state in range(4):
        base = t['scroll'] if state != 2 else darken(t['scroll'], 0.1)
        if state == 1:
            base = lighten(t['scroll'], 0.2)
        if state == 3:
            base = desaturate(lighten(t['scroll'], 0.3))
        h = Image(32, 16)
        h.fill(0, 0, 32, 16, lambda x, y: mix(darken(base, 0.08), lighten(base, 0.3), y / 15))
        h.fill(0, 0, 32, 1, darken(base, 0.2))
        v = Image(16, 32)
        v.fill(0, 0, 16, 32, lambda x, y: mix(darken(base, 0.08), lighten(base, 0.3), x / 15))
        v.fill(0, 0, 1, 32, darken(base, 0.2))
        horizontal.append(h)
        vertical.append(v)
    return strip(horizontal, stacked=True), strip(vertical)


def scroll_thumbs(t):
    """Horizontal thumb cells one above the other (40 × 16), vertical ones side by side
    (16 × 40): normal, mouse over, pressed."""
    horizontal, vertical = [], []
    for state in range(3):
        base = mix(t['scroll'], t['accent'], 0.35 + 0.15 * state)
        h = Image(40, 16, t['scroll'])
        r = _corner(t, 4)
        button_body(h, 40, 16, 'round', r, lighten(base, 0.45), base, darken(base, 0.35), gloss=state != 2)
        v = Image(16, 40, t['scroll'])
        button_body(v, 16, 40, 'round', r, lighten(base, 0.45), base, darken(base, 0.35))
        v.paint(sdf_round_box(2, 2, 9, 38, 3), lambda x, y: lighten(v.get(x, y), 0.25))
        horizontal.append(h)
        vertical.append(v)
    return strip(horizontal, stacked=True), strip(vertical)


def title_back(t):
    """The plate behind the title text: active above, inactive below, as tall as the caption."""
    T = t['caption']
    cells = []
    for active in (True, False):
        img = Image(40, T, MAGENTA)
        stops = t['caption_active'] if active else t['caption_inactive']
        base = ramp(stops, 0.5)
        light_text = sum(t['title_active']) > 450
        glow = darken(base, 0.35 if active else 0.2) if light_text else lighten(base, 0.45)
        edge = mix(glow, t['outline'] if active else t['outline_inactive'], 0.35)
        top, bottom = 5, T - 5
        img.paint(sdf_round_box(0.5, top + 0.5, 39.5, bottom - 0.5, (bottom - top) / 2 - 1), edge, hard=True)
        img.paint(sdf_round_box(1.5, top + 1.5, 38.5, bottom - 1.5, (bottom - top) / 2 - 2),
                  lambda x, y: mix(lighten(glow, 0.15), glow, (y - top) / (bottom - top)), hard=True)
        cells.append(img)
    return strip(cells, stacked=True)
