"""Every conversion the page offers, each source kind to each of the other three, read back
with ImageMagick: the size the program gives each target and the colour of every quarter of a
four-coloured picture.

The quarters' colours are web-palette colours, so a GIF made from an exact source must keep
them exactly; JPEG targets and sources, and 256-colour icons, may only come near them. The cells that draw
the picture on a bitmap of the display's own depth run again on displays of 8 and 16 bits."""

import pytest

from convert_page_driver import Page, icon_entry, magick, pixel_with_alpha, size_of

# Top-left, top-right, bottom-left, bottom-right.
QUARTERS = ((204, 0, 0), (0, 153, 0), (0, 0, 255), (255, 255, 0))
JPEG_TOLERANCE = 6
SIXTEEN_BIT_TOLERANCE = 8
# The 256-colour icon's table is the program's fixed one, so colours move to its nearest entry.
PALETTE_ICON_TOLERANCE = 34
# On a display of 256 colours a picture drawn on the way takes the display's nearest colour,
# and a GIF made from that the nearest web colour: a step of the web palette at most.
EIGHT_BIT_TOLERANCE = 51
ICON_SIZE = 32
# What the save dialog offers for each source: the other formats.
SAVE_TYPES = {
    "bmp": ["ICO file(*.ico)", "JPEG file(*.jpg)", "GIF file(*.gif)", "PNG file(*.png)"],
    "jpg": ["BMP file(*.bmp)", "ICO file(*.ico)", "GIF file(*.gif)", "PNG file(*.png)"],
    "gif": ["BMP file(*.bmp)", "ICO file(*.ico)", "JPEG file(*.jpg)", "PNG file(*.png)"],
    "ico": ["BMP file(*.bmp)", "JPEG file(*.jpg)", "GIF file(*.gif)", "PNG file(*.png)"],
}


def four_coloured(path, width, height):
    half_w, half_h = width // 2, height // 2
    rectangles = []
    for (x, y), colour in zip(((0, 0), (half_w, 0), (0, half_h), (half_w, half_h)), QUARTERS):
        rectangles += ["-fill", "rgb(%d,%d,%d)" % colour,
                       "-draw", f"rectangle {x},{y} {x + half_w - 1},{y + half_h - 1}"]
    magick("-size", f"{width}x{height}", "xc:white", *rectangles, path)


def make_source(work_dir, kind):
    """A 48x32 picture (a 32x32 icon) of four quarters in the given format; returns its path."""
    master = work_dir + "/master.png"
    if kind == "ico":
        four_coloured(master, ICON_SIZE, ICON_SIZE)
        path = work_dir + "/source.ico"
        magick(master, "-alpha", "off", "-type", "TrueColor", path)
        return path
    four_coloured(master, 48, 32)
    path = work_dir + "/source." + kind
    if kind == "png":
        magick(master, path)
        return path
    options = {"bmp": ["-type", "TrueColor"], "jpg": ["-quality", "95", "-sampling-factor", "1x1"], "gif": []}[kind]
    magick(master, *options, ("BMP3:" if kind == "bmp" else "") + path)
    return path


def quarter_centres(width, height):
    return ((width // 4, height // 4), (3 * width // 4, height // 4), (width // 4, 3 * height // 4),
            (3 * width // 4, 3 * height // 4))


def expected_size(source_kind, target_kind):
    if target_kind == "ico" or source_kind == "ico":
        # Icons are of the system icon size; the 48x32 pictures are squeezed into it.
        return ICON_SIZE, ICON_SIZE
    return 48, 32


def tolerance(source_kind, target_kind, depth):
    if target_kind == "ico":
        return PALETTE_ICON_TOLERANCE
    allowed = JPEG_TOLERANCE if "jpg" in (source_kind, target_kind) else 0
    # Pictures drawn on the way pass through the display's 256 colours, or its 5 or 6 bits a
    # channel.
    return max(allowed, {8: EIGHT_BIT_TOLERANCE, 16: SIXTEEN_BIT_TOLERANCE}.get(depth, 0))


def check_quarters(path, source_kind, target_kind, depth=24):
    width, height = expected_size(source_kind, target_kind)
    assert size_of(path) == (width, height), path
    allowed = tolerance(source_kind, target_kind, depth)
    for index, ((x, y), wanted) in enumerate(zip(quarter_centres(width, height), QUARTERS)):
        *colour, alpha = pixel_with_alpha(path, x, y)
        if target_kind == "ico" and index == 2 and source_kind != "png":
            # The bottom-left pixel's colour is the icon's transparent one, and the quarter is
            # flat (even from the JPEG, whose flat blocks decode to one colour). A PNG brings
            # its own mask: its alpha, here opaque.
            assert alpha == 0, (path, x, y)
            continue
        assert alpha == 255, (path, x, y)
        assert max(abs(c - w) for c, w in zip(colour, wanted)) <= allowed, (path, x, y, colour, wanted)


def convert_and_check(page, work_dir, source_kind, target_kind, depth=24):
    """One cell of the matrix, on a page whose source is make_source's picture."""
    target = f"{work_dir}/{source_kind}_to_{target_kind}.{target_kind}"
    page.convert_to(target)
    page.wait_saved(target)
    check_quarters(target, source_kind, target_kind, depth)
    if target_kind == "ico":
        assert icon_entry(target) == (1, ICON_SIZE, ICON_SIZE, 8), "one 256-colour image of the icon size"


def other_kinds(source_kind, kinds=("bmp", "jpg", "gif", "ico")):
    return [kind for kind in kinds if kind != source_kind]


@pytest.mark.parametrize("source_kind", ["bmp", "jpg", "gif", "ico"])
def test_each_source_kind_converts_to_each_other_kind(driver, tervane, work_dir, source_kind):
    page = Page(driver, tervane)
    page.choose_source(make_source(work_dir, source_kind))
    assert page.save_dialog_types()[1] == SAVE_TYPES[source_kind]
    assert page.status() == "", "a cancelled dialog leaves the status line empty"
    for target_kind in other_kinds(source_kind):
        convert_and_check(page, work_dir, source_kind, target_kind)


# The cells whose pictures pass through a bitmap of the display's own depth on the way.
DEVICE_CELLS = {"gif": ["bmp", "ico"], "jpg": ["bmp", "gif"], "ico": ["bmp"]}


@pytest.mark.parametrize("display_depth", [8, 16], indirect=True)
def test_colours_hold_on_displays_of_fewer_bits(display_depth, driver, tervane, work_dir):
    page = Page(driver, tervane)
    for source_kind, targets in DEVICE_CELLS.items():
        page.choose_source(make_source(work_dir, source_kind))
        for target_kind in targets:
            convert_and_check(page, work_dir, source_kind, target_kind, display_depth)
