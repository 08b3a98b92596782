"""Contact sheets and mock windows: every picture of a skin, and a window composed from them
the way the skin engine draws one, so the artwork can be judged by eye."""
from raster import MAGENTA, Image, darken, draw_text, lighten, mix, text_width

DESKTOP = [(0, (58, 110, 165)), (1, (20, 40, 70))]


def cell_of(build, name, cell):
    img = build.pictures[name]
    lay = build.layout[name]
    n = lay['frames']
    if lay['stacked']:
        h = img.height // n
        return img.crop(0, (cell - 1) * h, img.width, h)
    w = img.width // n
    return img.crop((cell - 1) * w, 0, w, img.height)


def nine_part(src, w, h, margins, tiled=False):
    """Stretches (or tiles) one cell into w × h keeping its margins fixed."""
    ml, mt, mr, mb = margins
    if w < ml + mr:
        ml = mr = 0
    if h < mt + mb:
        mt = mb = 0
    out = Image(w, h)
    cw, ch = src.width - ml - mr, src.height - mt - mb

    def source_x(x):
        if x < ml:
            return x
        if x >= w - mr:
            return src.width - (w - x)
        return ml + ((x - ml) % cw if tiled else (x - ml) * cw // max(1, w - ml - mr))

    def source_y(y):
        if y < mt:
            return y
        if y >= h - mb:
            return src.height - (h - y)
        return mt + ((y - mt) % ch if tiled else (y - mt) * ch // max(1, h - mt - mb))

    xs = [min(src.width - 1, max(0, source_x(x))) for x in range(w)]
    for y in range(h):
        sy = min(src.height - 1, max(0, source_y(y)))
        row = src.px[sy * src.width:(sy + 1) * src.width]
        out.px[y * w:(y + 1) * w] = [row[sx] for sx in xs]
    return out


def draw(build, target, name, x, y, w, h, cell=1, trans=None):
    lay = build.layout[name]
    part = nine_part(cell_of(build, name, cell), w, h, lay['margins'], lay['tiled'])
    target.blit(part, x, y, key=MAGENTA if (lay['trans'] if trans is None else trans) else None)


def label(img, x, y, text, colour):
    draw_text(img, x, y, text, colour)


def contact_sheet(build):
    """Every picture at twice its size, magenta shown as a checkerboard, with its name."""
    pics = list(build.pictures.items())
    scale = 2
    width = 900
    x = y = 10
    row_h = 0
    placed = []
    for name, img in pics:
        w, h = img.width * scale, img.height * scale
        if x + w > width - 10 and x > 10:
            x, y = 10, y + row_h + 22
            row_h = 0
        placed.append((name, img, x, y))
        x += max(w, text_width(name)) + 14
        row_h = max(row_h, h)
    sheet = Image(width, y + row_h + 30, (250, 250, 250))
    for name, img, px, py in placed:
        big = img.scaled(scale)
        for yy in range(big.height):
            for xx in range(big.width):
                c = big.get(xx, yy)
                if c == MAGENTA:
                    c = (255, 255, 255) if (xx // 6 + yy // 6) % 2 else (220, 220, 226)
                sheet.set(px + xx, py + 11 + yy, c)
        label(sheet, px, py, name, (40, 40, 40))
    return sheet


def mock_window(build):
    t = build.theme
    W, H = 460, 330
    L, T, B = t['border'], t['caption'], t['bottom']
    canvas = Image(W + 40, 2 * H + 60)
    canvas.fill(0, 0, canvas.width, canvas.height, lambda x, y: mix(DESKTOP[0][1], DESKTOP[1][1], y / canvas.height))
    for index, active in enumerate((True, False)):
        window = compose_window(build, W, H, active)
        canvas.blit(window, 20, 20 + index * (H + 20), key=MAGENTA)
    return canvas


def compose_window(build, W, H, active):
    t = build.theme
    L, T, B = t['border'], t['caption'], t['bottom']
    cell = 1 if active else 2
    M = 20
    win = Image(W, H, t['face'])
    draw(build, win, 'left.bmp', 0, 0, L, H, cell)
    draw(build, win, 'right.bmp', W - L, 0, L, H, cell)
    draw(build, win, 'bottom.bmp', L, H - B, W - 2 * L, B, cell)
    # Caption: top border, title plate and text, icon, buttons.
    caption = Image(W, T, MAGENTA)
    caption.blit(win.crop(0, 0, W, T), 0, 0)
    draw(build, caption, 'top.bmp', L, 0, W - 2 * L, T, cell)
    title = 'Quorlin Tervane'
    text_x = L + 5 + 18 + 3 * 6
    tw = text_width(title, 1) + 2
    if 'textback.bmp' in build.pictures:
        draw(build, caption, 'textback.bmp', text_x - 12, 0, tw + 24, T, cell)
    ty = (T - 7) // 2
    colour = t['title_active'] if active else t['title_inactive']
    if t['title_shadow'] and active:
        draw_text(caption, text_x + 1, ty + 1, title, t['title_shadow'])
    draw_text(caption, text_x, ty, title, colour)
    draw_text(caption, text_x + 1, ty, title, colour)
    # The window icon: a little picture frame.
    ix, iy = L + 5, (T - 16) // 2
    caption.fill(ix + 1, iy + 2, ix + 15, iy + 14, (250, 250, 240))
    caption.fill(ix + 2, iy + 3, ix + 14, iy + 13, (90, 160, 220))
    caption.fill(ix + 2, iy + 9, ix + 14, iy + 13, (80, 150, 60))
    caption.fill(ix + 9, iy + 4, ix + 12, iy + 7, (255, 220, 80))
    size = t['caption_button']['size']
    for kind, offset in (('close', L + 3 + size), ('max', L + 3 + 2 * size + 4), ('min', L + 3 + 3 * size + 5)):
        state = 1 if active else 4
        if kind == 'close' and active:
            state = 3  # the close button shown under the mouse
        draw(build, caption, kind + '.bmp', W - offset, (T - size) // 2, size, size, state, trans=True)
    win.blit(caption, 0, 0)
    # Menu bar.
    draw(build, win, 'menubar.bmp', L, T, W - 2 * L, M, cell)
    x = L + 4 + 4
    for i, item in enumerate(('File', 'Tools', 'Skin', 'Help')):
        w = text_width(item) + 10
        if i == 1 and active:
            win.fill(x, T + 1, x + w, T + M - 2, t['light'])
            win.fill(x + 1, T + 2, x + w - 1, T + M - 3, t['menubar'])
        draw_text(win, x + 5, T + 6, item, t['menubar_text'])
        x += w
    client_top = T + M
    # Tabs and page.
    tx, ty = L + 10, client_top + 8
    draw(build, win, 'tabborder.bmp', tx, ty + 21, 300, H - B - ty - 21 - 34)
    for i, name in enumerate(('Icons', 'Convert', 'About')):
        selected = i == 1
        draw(build, win, 'tab.bmp', tx + i * 64, ty + (0 if selected else 2), 64, 22 if selected else 20,
             2 if selected else (3 if i == 2 and active else 1))
        draw_text(win, tx + i * 64 + 12, ty + 8, name, t['text'])
    page_x, page_y = tx + 12, ty + 34
    # Group box with radio buttons and check boxes.
    draw(build, win, 'groupbox.bmp', page_x, page_y + 4, 130, 96, 1)
    win.fill(page_x + 8, page_y, page_x + 8 + text_width('Icon mode') + 4, page_y + 9, t['face'])
    draw_text(win, page_x + 10, page_y + 1, 'Icon mode', t['text'])
    for i, (name, cell_no) in enumerate((('256 colours', 2), ('True colour', 1), ('Disabled', 3))):
        draw(build, win, 'radio.bmp', page_x + 10, page_y + 18 + i * 18, 13, 13, cell_no)
        draw_text(win, page_x + 28, page_y + 21 + i * 18, name, t['text'] if cell_no != 3 else t['shadow'])
    draw(build, win, 'check.bmp', page_x + 10, page_y + 72, 13, 13, 2)
    draw_text(win, page_x + 28, page_y + 75, 'Preview', t['text'])
    # Push buttons in their states.
    for i, (name, cell_no) in enumerate((('Open', 1), ('Save', 4), ('Pressed', 2), ('Disabled', 3))):
        bx, by = page_x + 146, page_y + 4 + i * 28
        draw(build, win, 'button.bmp', bx, by, 110, 24, cell_no)
        colour = t['shadow'] if cell_no == 3 else t['text']
        draw_text(win, bx + (110 - text_width(name)) // 2 + (1 if cell_no == 2 else 0), by + 9, name, colour)
    # Combo box and progress bar.
    cy = page_y + 114
    win.fill(page_x, cy, page_x + 130, cy + 22, (255, 255, 255))
    draw(build, win, 'sunkedge.bmp', page_x, cy, 130, 22, 1)
    draw_text(win, page_x + 6, cy + 8, 'JPEG 65%', t['window_text'])
    draw(build, win, 'combobtn.bmp', page_x + 130 - 19, cy + 2, 17, 18, 1)
    draw(build, win, 'progress.bmp', page_x + 146, cy + 4, 110, 14, 1)
    draw(build, win, 'progress.bmp', page_x + 146, cy + 4, 70, 14, 2)
    # A vertical scroll bar beside the page.
    sx, sy, sh = L + 320, client_top + 8, 150
    draw(build, win, 'vscroll.bmp', sx, sy, 16, sh, 1)
    draw(build, win, 'scrollbar.bmp', sx, sy, 16, 16, 1)
    draw(build, win, 'scrollbar.bmp', sx, sy + sh - 16, 16, 16, 6)
    draw(build, win, 'vthumb.bmp', sx, sy + 30, 16, 44, 2)
    draw(build, win, 'scrollbar.bmp', sx, sy + 44, 16, 16, 21)
    # A horizontal one under it.
    hy = sy + sh + 8
    draw(build, win, 'hscroll.bmp', sx - 0, hy, 110, 16, 1)
    draw(build, win, 'scrollbar.bmp', sx, hy, 16, 16, 9)
    draw(build, win, 'scrollbar.bmp', sx + 94, hy, 16, 16, 14)
    draw(build, win, 'hthumb.bmp', sx + 30, hy, 40, 16, 1)
    draw(build, win, 'scrollbar.bmp', sx + 42, hy, 16, 16, 17)
    # Header and toolbar samples.
    hx = sx + 24
    draw(build, win, 'header.bmp', hx, sy, 50, 20, 1)
    draw(build, win, 'header.bmp', hx + 50, sy, 50, 20, 2)
    draw_text(win, hx + 6, sy + 7, 'Name', t['text'])
    draw_text(win, hx + 56, sy + 7, 'Size', t['text'])
    draw(build, win, 'toolbar.bmp', hx, sy + 26, 24, 22, 2)
    draw(build, win, 'toolbar.bmp', hx + 26, sy + 26, 24, 22, 3)
    draw(build, win, 'toolbar.bmp', hx + 52, sy + 26, 24, 22, 5)
    for k in range(3):
        win.fill(hx + 7 + 26 * k, sy + 33, hx + 17 + 26 * k, sy + 41, darken(t['accent'], 0.1 * k))
    # An open popup menu.
    mx, my, mw, mh = hx - 6, sy + 56, 100, 96
    menu = Image(mw, mh, t['menu'])
    draw(build, menu, 'menuback.bmp', 0, 0, mw, mh)
    for i, item in enumerate(('Blue', 'WinXP', '-', 'Castle', 'Desert')):
        iy = 3 + (i if i < 3 else i - 1) * 20 + (8 if i > 2 else 0)
        if item == '-':
            part = nine_part(cell_of(build, 'menuitem.bmp', 2).crop(0, 12, 32, 8), mw - 6, 8, (4, 0, 4, 0))
            menu.blit(part, 3, iy, key=MAGENTA)
            continue
        selected = i == 1
        draw(build, menu, 'menuitem.bmp', 3, iy, mw - 6, 20, 4 if selected else 1)
        draw_text(menu, 24, iy + 7, item, t['hilight_text'] if selected else t['menu_text'])
    win.blit(menu, mx, my)
    # Status bar.
    sby = H - B - 22
    draw(build, win, 'statusbar.bmp', L + 2, sby + 2, 250, 19, 1)
    draw(build, win, 'statusbar.bmp', L + 254, sby + 2, W - 2 * L - 256, 19, 3)
    draw_text(win, L + 8, sby + 8, 'Ready', t['text'])
    return win
