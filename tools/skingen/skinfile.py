"""Assembles one skin: its pictures (elements.py) and its settings file, in archive order."""
import elements as E

TEXT_BACK_SKINS = ('blue_mood', 'cyan_jungle', 'gobi_sands')


def rgb_text(c):
    return '%d %d %d' % c


class SkinBuild:
    """Pictures by entry name, the settings file's sections, and how each picture is cut and
    drawn (for the contact sheet and the mock window)."""

    def __init__(self, theme):
        self.theme = theme
        self.pictures = {}   # entry name -> Image, in archive order
        self.sections = []   # (section, [(key, value)])
        self.layout = {}     # entry name -> dict(frames, stacked, margins, trans, tiled)

    def picture(self, name, image, frames=1, stacked=False, margins=(0, 0, 0, 0), trans=0, tiled=False):
        self.pictures[name] = image
        self.layout[name] = dict(frames=frames, stacked=stacked, margins=margins, trans=trans, tiled=tiled)
        return self.value(name)

    def value(self, name):
        """The settings value naming a picture; one skin keeps its pictures in a sub-folder."""
        return 'images\\' + name if self.theme.get('folder_values') else name

    def section(self, name, *pairs):
        self.sections.append((name, [(k, str(v)) for k, v in pairs]))

    def settings_text(self):
        lines = []
        for name, pairs in self.sections:
            lines.append('[%s]' % name)
            lines.extend('%s=%s' % kv for kv in pairs)
            lines.append('')
        return '\r\n'.join(lines).encode('gbk')


def build_skin(t):
    s = SkinBuild(t)
    L, T, B = t['border'], t['caption'], t['bottom']
    textured = t['texture'] in ('leaves', 'fields', 'bricks', 'brushed', 'dunes')
    borders, _ = E.frame_borders(t)

    personality = []
    for side, key in (('left', 'Left'), ('right', 'Right'), ('top', 'Top'), ('bottom', 'Bottom')):
        stacked = side in ('top', 'bottom')
        if side in ('left', 'right'):
            first, last, margins = T, B, (0, T, 0, B)
        elif side == 'top':
            first, last = E.TOP_LEFT, E.TOP_RIGHT
            margins = (first, 0, last, 0)
        else:
            first, last = 10, 10
            margins = (first, 0, last, 0)
        tiled = side == 'top' and textured
        value = s.picture(side + '.bmp', borders[side], 2, stacked, margins, 1, tiled)
        personality += [(key, value), (key + 'TopHeight', first), (key + 'BotHeight', last), (key + 'Frame', 2),
                        (key + 'Stretch', 0 if tiled else 1), (key + 'Trans', 1)]

    icon_x = L + 5
    text_shift = icon_x + 18
    personality += [('TextShift', text_shift), ('TextShiftVert', 0), ('TextAlignment', 0), ('TextRightClip', 80)]
    if t['slug'] in TEXT_BACK_SKINS:
        personality += [('TextBack', s.picture('textback.bmp', E.title_back(t), 2, True, (12, 0, 12, 0), 1)),
                        ('Textbackground', 1), ('TXTBackleft', 12), ('TXTBackRight', 12)]
    else:
        personality += [('Textbackground', 0), ('TXTBackleft', 0), ('TXTBackRight', 0)]
    personality += [('ActiveText' + ch, v) for ch, v in zip('RGB', t['title_active'])]
    personality += [('InActiveText' + ch, v) for ch, v in zip('RGB', t['title_inactive'])]
    personality += [('menuBar', s.picture('menubar.bmp', E.menu_bar(t), 2, True, (4, 0, 4, 0))),
                    ('TileMenu', 0), ('TileLeftMenu', 4), ('TileRightMenu', 4)]

    s.section('TitlebarSkin', ('SkinName', t['name']), ('Author', 'Quorlin'))
    s.section('Personality', *personality)
    s.section('Fonts', ('FontHeight', 14))
    s.section('Colours',
              ('WindowText', rgb_text(t['window_text'])), ('ButtonFace', rgb_text(t['face'])),
              ('Scrollbar', rgb_text(t['scroll'])), ('HilightText', rgb_text(t['hilight_text'])),
              ('Hilight', rgb_text(t['hilight'])), ('Menubar', rgb_text(t['menubar'])),
              ('Menu', rgb_text(t['menu'])), ('MenuText', rgb_text(t['menu_text'])),
              ('ButtonText', rgb_text(t['text'])), ('ButtonHilight', rgb_text(t['light'])),
              ('Buttonlight', rgb_text(t['light'])), ('ButtonShadow', rgb_text(t['shadow'])),
              ('ButtonDkShadow', rgb_text(t['dark_shadow'])), ('MenuBarText', rgb_text(t['menubar_text'])),
              ('TitleTextActive', rgb_text(t['title_active'])), ('TitleTextInactive', rgb_text(t['title_inactive'])))
    for i, colour in enumerate((t['text'], E.darken(t['accent'], 0.2), t['hilight_text'], t['shadow'])):
        s.section('Colour%d' % i, ('color', rgb_text(colour)))

    size = t['caption_button']['size']
    y = (T - size) // 2
    buttons = E.caption_buttons(t)
    close_x = L + 3 + size
    max_x = close_x + size + 4
    placement = {'close': close_x, 'max': max_x, 'restore': max_x, 'min': max_x + size + 1}
    for kind, action, vis, vis1 in (('close', 0, 0, 0), ('max', 1, 6, 2), ('restore', 1, 6, 1), ('min', 2, 8, 0)):
        s.section('Button.' + kind.capitalize(), ('Action', action), ('Align', 1), ('Xcoord', placement[kind]),
                  ('Ycoord', y), ('Visibility', vis), ('Visibility1', vis1), ('frame', 4),
                  ('ButtonImage', s.picture(kind + '.bmp', buttons[kind], 4, False, (0, 0, 0, 0), 1)))
    s.section('Button.Icon', ('Action', 3), ('Align', 0), ('Xcoord', icon_x), ('Ycoord', (T - 16) // 2),
              ('Visibility', 0), ('Visibility1', 0))
    s.section('MDICONTROLS', ('Image', s.picture('mdi.bmp', E.mdi_buttons(t), 12, False, (0, 0, 0, 0), 0)))

    text_colours = [('NormalColour2', rgb_text(t['text'])), ('MouseOverColour2', rgb_text(E.darken(t['accent'], 0.2))),
                    ('PressedColour2', rgb_text(t['text']))]
    s.section('Buttons', ('Bitmap', s.picture('button.bmp', E.push_button(t), 5, False, (5, 5, 5, 5))),
              ('LeftWidth', 5), ('RightWidth', 5), ('TopHeight', 5), ('BottomHeight', 5), ('Trans', 0),
              ('CheckButton', s.picture('check.bmp', E.check_box(t), 4)),
              ('RadioButton', s.picture('radio.bmp', E.radio_button(t), 4)), *text_colours)
    s.section('Progress', ('Bitmap', s.picture('progress.bmp', E.progress(t), 2, True, (4, 3, 4, 3))),
              ('LeftWidth', 4), ('RightWidth', 4), ('TopHeight', 3), ('BottomHeight', 3), ('Trans', 0), ('Tile', 0))

    tab_strip, tab_page = E.tabs(t)
    h_track, v_track = E.scroll_tracks(t)
    h_thumb, v_thumb = E.scroll_thumbs(t)
    generic = [
        ('GroupBoxEdge', 'groupbox.bmp', E.group_box(t), 2, False, (6, 6, 6, 6), 1, {}),
        ('Toolbars', 'toolbar.bmp', E.flat_buttons(t, 24, 22), 5, False, (4, 4, 4, 4), 1, {}),
        ('Tabs', 'tab.bmp', tab_strip, 5, False, (5, 5, 5, 2), 1, {'Border': s.picture('tabborder.bmp', tab_page, 1, False, (3, 3, 3, 3))}),
        ('StatusBarEdges', 'statusbar.bmp', E.status_edges(t), 3, False, (3, 3, 3, 3), 0, {}),
        ('ComboButton', 'combobtn.bmp', E.combo_button(t), 4, False, (3, 3, 3, 3), 0, {}),
        ('SunkEdge', 'sunkedge.bmp', E.sunken_edge(t), 4, False, (3, 3, 3, 3), 1, {}),
        ('ExtraImages', 'extra.bmp', E.extra_images(t), 5, False, (0, 0, 0, 0), 1, {}),
        ('Headerbar', 'header.bmp', E.flat_buttons(t, 40, 20, header=True), 5, False, (4, 4, 4, 4), 0, {}),
        ('MenuItem', 'menuitem.bmp', E.menu_item(t), 5, False, (4, 3, 4, 3), 1, {}),
        ('MenuBackground', 'menuback.bmp', E.menu_background(t), 1, False, (3, 3, 3, 3), 0, {}),
        ('Scrollbar', 'scrollbar.bmp', E.scroll_arrows(t), 23, False, (0, 0, 0, 0), 1, {}),
        ('HorzScroll', 'hscroll.bmp', h_track, 4, True, (2, 0, 2, 0), 0, {}),
        ('VertScroll', 'vscroll.bmp', v_track, 4, False, (0, 2, 0, 2), 0, {}),
        ('HorzScrollThumb', 'hthumb.bmp', h_thumb, 3, True, (6, 0, 6, 0), 0, {'FrameCount': 3}),
        ('VertScrollThumb', 'vthumb.bmp', v_thumb, 3, False, (0, 6, 0, 6), 0, {'FrameCount': 3}),
    ]
    colour_keys = [('NormalColour', 0), ('MouseOverColour', 1), ('PressedColour', 2)]
    for section, name, image, frames, stacked, margins, trans, extra in generic:
        value = s.picture(name, image, frames, stacked, margins, trans)
        pairs = [('Image', value), ('LeftWidth', margins[0]), ('TopHeight', margins[1]), ('RightWidth', margins[2]),
                 ('BottomHeight', margins[3]), ('Trans', trans), ('Tile', 0)]
        if section in ('Tabs', 'MenuItem', 'Headerbar', 'Toolbars'):
            pairs += colour_keys + text_colours
        pairs += list(extra.items())
        s.section(section, *pairs)
    return s
