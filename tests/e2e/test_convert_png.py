"""PNG on the conversion page: a picture with transparency opened, previewed with the page's
colour showing through, converted to the four other formats and read back with ImageMagick;
every other kind of source converted to PNG (checked with pngcheck and ImageMagick), its
transparency kept; a damaged PNG refused with its message, nothing written."""

import os
import subprocess

from convert_page_driver import Page, icon_entry, magick, pixel_with_alpha, screen_colour, size_of
from test_convert_matrix import QUARTERS, make_source, quarter_centres
from tervane_driver import wait_until

TITLE = "Quorlin图片处理Tervane"
RED, BLUE = (204, 0, 0), (0, 0, 255)
PREVIEW = (88, 64, 89, 89)  # Image3 on the page: left, top, width, height


def logo(path, width=48, height=32):
    """Left half red over blue, opaque; right half fully transparent."""
    magick("-size", f"{width}x{height}", "xc:none", "-fill", "rgb(204,0,0)", "-draw", f"rectangle 0,0 {width // 2 - 1},{height // 2 - 1}",
           "-fill", "rgb(0,0,255)", "-draw", f"rectangle 0,{height // 2} {width // 2 - 1},{height - 1}", "PNG32:" + path)


def near(colour, wanted, allowed):
    return max(abs(c - w) for c, w in zip(colour, wanted)) <= allowed


def png_colour_type(path):
    return open(path, "rb").read()[25]


def test_png_with_alpha_previewed_and_converted_to_every_target(driver, tervane, work_dir):
    page = Page(driver, tervane)
    source = work_dir + "/logo.png"
    logo(source)
    page.choose_source(source)
    assert page.source_text().endswith("logo.png")
    sheet = driver.info(page.sheet)
    left, top = sheet.client_x + PREVIEW[0], sheet.client_y + PREVIEW[1]
    wait_until(lambda: near(screen_colour(left + 20, top + 20), RED, 8), 10, "the preview")
    page_colour = screen_colour(left + PREVIEW[2] + 6, top + 20)
    assert near(screen_colour(left + 70, top + 20), page_colour, 8), "the page shows through the transparent half"
    assert near(screen_colour(left + 20, top + 70), BLUE, 8)
    driver.screenshot("convert_png_preview", tervane.window)
    # Enlarged, the right half lets the window's own colour through, not black, not the picture's.
    driver.click_window(page.sheet, PREVIEW[0] + 20, PREVIEW[1] + 20)
    preview = driver.wait_window("TForm2", pid=tervane.pid, visible=True)
    x, y = preview.client_x, preview.client_y
    wait_until(lambda: near(screen_colour(x + 100, y + 100), RED, 8), 10, "the enlarged picture")
    through = screen_colour(x + 400, y + 100)
    assert not any(near(through, colour, 40) for colour in ((0, 0, 0), RED, BLUE)), through
    driver.screenshot("convert_png_preview_window", preview)
    driver.click_window(preview, 100, 100)
    wait_until(lambda: driver.info(tervane.window).enabled, 10, "the main window usable again")
    assert page.save_dialog_types()[1] == ["BMP file(*.bmp)", "ICO file(*.ico)", "JPEG file(*.jpg)", "GIF file(*.gif)"]

    for kind, allowed, transparent in (("bmp", 0, (255, 255, 255, 255)), ("jpg", 6, (255, 255, 255, 255)),
                                       ("gif", 0, None), ("ico", 34, None)):
        target = f"{work_dir}/logo_to_{kind}.{kind}"
        page.convert_to(target)
        page.wait_saved(target)
        width, height = (32, 32) if kind == "ico" else (48, 32)
        assert size_of(target) == (width, height), target
        *colour, alpha = pixel_with_alpha(target, width // 4, height // 4)
        assert alpha == 255 and near(colour, RED, allowed), (target, colour)
        right = pixel_with_alpha(target, 3 * width // 4, height // 2)
        if transparent:
            assert near(right, transparent, allowed), (target, right)  # drawn on white
        else:
            assert right[3] == 0, (target, right)  # the target's own transparency
    assert icon_entry(f"{work_dir}/logo_to_ico.ico") == (1, 32, 32, 8)
    assert tervane.close_and_wait() == 0


def transparent_source(work_dir, kind):
    """A GIF with a transparent colour, or a 32-bit icon with alpha, of logo()'s picture."""
    master = work_dir + "/master_alpha.png"
    logo(master, 32, 32)
    path = f"{work_dir}/see_through.{kind}"
    magick(master, path)
    return path


def test_every_other_source_converted_to_png(driver, tervane, work_dir):
    page = Page(driver, tervane)
    for kind in ("bmp", "jpg", "gif", "ico"):
        page.choose_source(make_source(work_dir, kind))
        target = f"{work_dir}/{kind}_to_png.png"
        page.convert_to(target)
        page.wait_saved(target)
        subprocess.run(["pngcheck", "-q", target], check=True)
        width, height = (32, 32) if kind == "ico" else (48, 32)
        assert size_of(target) == (width, height), target
        # Four colours are a palette; the photograph's decoded rows stay RGB.
        assert png_colour_type(target) == (2 if kind == "jpg" else 3), target
        for (x, y), wanted in zip(quarter_centres(width, height), QUARTERS):
            *colour, alpha = pixel_with_alpha(target, x, y)
            assert alpha == 255 and near(colour, wanted, 6 if kind == "jpg" else 0), (target, x, y, colour)
    for kind in ("gif", "ico"):
        page.choose_source(transparent_source(work_dir, kind))
        target = f"{work_dir}/see_through_{kind}.png"
        page.convert_to(target)
        page.wait_saved(target)
        subprocess.run(["pngcheck", "-q", target], check=True)
        assert pixel_with_alpha(target, 24, 8)[3] == 0, target
        assert pixel_with_alpha(target, 8, 8) == (*RED, 255), target
    assert tervane.close_and_wait() == 0


def test_damaged_png_gets_its_message_and_nothing_is_written(driver, tervane, work_dir):
    page = Page(driver, tervane)
    good = work_dir + "/good.png"
    logo(good)
    data = bytearray(open(good, "rb").read())
    idat = data.find(b"IDAT") - 4
    data[idat + 8 + int.from_bytes(data[idat:idat + 4], "big")] ^= 0x55  # the image data's CRC
    damaged = work_dir + "/damaged.png"
    open(damaged, "wb").write(data)
    page.choose_source(damaged)
    box = driver.wait_message_box(tervane.pid, TITLE)
    assert box.text == "PNG image is damaged (CRC error)"
    driver.press_button(box.window, "确定")
    wait_until(lambda: not driver.find_windows("#32770", TITLE, pid=tervane.pid, visible=True), 10, "the message closed")
    # The conversion meets the same error and leaves no file behind.
    page.convert_to(work_dir + "/damaged.bmp")
    box = driver.wait_message_box(tervane.pid, TITLE)
    assert box.text == "PNG image is damaged (CRC error)"
    driver.press_button(box.window, "确定")
    assert not os.path.exists(work_dir + "/damaged.bmp")
    # The page goes on: a good PNG loads.
    page.choose_source(good)
    assert page.source_text().endswith("good.png")
    assert tervane.close_and_wait() == 0
