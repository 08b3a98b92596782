"""Photographs on the conversion page: a JPEG written as GIF holds exactly the picture libjpeg
decodes (Debian's djpeg, an independent build of the same library), each pixel on the web
palette; and a big photograph in the small preview does not slow the window's repaints."""

import statistics
import subprocess

from convert_page_driver import Page, magick

WEB_LEVELS = bytes((value + 3) // 51 * 51 for value in range(256))  # the writer's web-palette level


def ppm_pixels(command):
    """The pixel bytes of a binary PPM (P6, maxval 255) written to stdout by command."""
    data = subprocess.run(command, check=True, capture_output=True, timeout=120).stdout
    magic, size, maxval, pixels = data.split(b"\n", 3)
    assert (magic, maxval) == (b"P6", b"255")
    return tuple(int(v) for v in size.split()), pixels


def test_jpeg_to_gif_is_the_decoded_photograph_on_the_web_palette(driver, tervane, work_dir):
    photo, target = work_dir + "/plasma.jpg", work_dir + "/plasma.gif"
    magick("-seed", "3", "-size", "320x240", "plasma:fractal", "-quality", "85", photo)
    page = Page(driver, tervane)
    page.choose_source(photo)
    page.convert_to(target)
    page.wait_saved(target)
    with open(target, "rb") as gif:
        assert gif.read(6) == b"GIF87a"
    size, decoded = ppm_pixels(["djpeg", "-ppm", photo])
    gif_size, written = ppm_pixels(["convert", target + "[0]", "-depth", "8", "ppm:-"])
    assert gif_size == size == (320, 240)
    expected = decoded.translate(WEB_LEVELS)
    wrong = [i // 3 for i in range(len(expected)) if expected[i] != written[i]]
    assert not wrong, f"{len(wrong)} pixels differ, the first at {wrong[0] % 320},{wrong[0] // 320}"


def test_big_photograph_in_the_preview_repaints_promptly(driver, tervane, work_dir):
    photo = work_dir + "/big.jpg"
    magick("-size", "4000x3000", "gradient:orange-navy", "-quality", "90", photo)
    page = Page(driver, tervane)

    def repaint():
        return statistics.median(driver.redraw(tervane.window) for _ in range(9))

    repaint(), repaint()  # the first repaints of a new window take longer under Wine
    empty = repaint()
    page.choose_source(photo)
    driver.redraw(tervane.window)  # the preview shrinks the photograph once
    driver.screenshot("convert_page_big_photograph", tervane.window)
    with_photo = repaint()
    # Stretching 12 million pixels into 89 x 89 at every paint costs over 40 ms, several times
    # the rest of the window; shrunk once, the preview costs next to nothing.
    assert with_photo < empty + 0.02, f"repaint {with_photo * 1e3:.0f} ms, {empty * 1e3:.0f} ms without the photo"
