"""Photographs on the conversion page: a JPEG written as GIF holds exactly the picture libjpeg
decodes (Debian's djpeg, an independent build of the same library), each pixel on the web
palette; a phone's portrait photo is previewed and converted the right way up; and a big
photograph in the small preview does not slow the window's repaints."""

import struct
import subprocess

from convert_page_driver import Page, magick, screen_colour
from tervane_driver import wait_until

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


def write_phone_photo(path):
    """A portrait photo as a phone stores it: lying on its side (80 x 120 turned a quarter
    anticlockwise), with EXIF orientation 6 telling viewers to turn it back. Upright, its
    quarters are red, green (top) and blue, yellow (bottom)."""
    magick("-size", "40x60", "xc:red", "xc:lime", "+append", "(", "-size", "40x60", "xc:blue", "xc:yellow",
           "+append", ")", "-append", "-rotate", "-90", "-quality", "92", path)
    tiff = b"MM" + struct.pack(">HIH", 42, 8, 1) + struct.pack(">HHIHH", 0x0112, 3, 1, 6, 0) + b"\0" * 4
    app1 = b"Exif\0\0" + tiff
    data = open(path, "rb").read()
    open(path, "wb").write(data[:2] + b"\xff\xe1" + struct.pack(">H", len(app1) + 2) + app1 + data[2:])
    orientation = subprocess.run(["identify", "-format", "%[orientation]", path], check=True, capture_output=True,
                                 text=True, timeout=60).stdout
    assert orientation == "RightTop"


QUARTERS = {(0.25, 0.25): (255, 0, 0), (0.75, 0.25): (0, 255, 0), (0.25, 0.75): (0, 0, 255), (0.75, 0.75): (255, 255, 0)}


def assert_upright(colour_at, width, height, where):
    """The four quarters, sampled at their centres, hold the upright photo's colours."""
    for (fx, fy), expected in QUARTERS.items():
        seen = colour_at(int(width * fx), int(height * fy))
        assert max(abs(a - b) for a, b in zip(seen, expected)) <= 48, f"{where}: {seen} at {fx},{fy}, not {expected}"


def test_portrait_phone_photo_is_previewed_and_converted_upright(driver, tervane, work_dir):
    photo = work_dir + "/portrait.jpg"
    write_phone_photo(photo)
    page = Page(driver, tervane)
    page.choose_source(photo)
    preview_x, preview_y = page.sheet.client_x + 88, page.sheet.client_y + 64  # the 89 x 89 preview
    driver.redraw(tervane.window)
    driver.screenshot("convert_page_portrait_photo", tervane.window)
    assert_upright(lambda x, y: screen_colour(preview_x + x, preview_y + y), 89, 89, "the preview")
    driver.click_window(page.sheet, 88 + 44, 64 + 44)
    window = driver.wait_window("TForm2", pid=tervane.pid, visible=True)
    enlarged = driver.info(window)
    driver.screenshot("preview_window_portrait_photo", window)
    assert_upright(lambda x, y: screen_colour(enlarged.client_x + 1 + x, enlarged.client_y + y), 520, 425,
                   "the preview window")
    driver.click_window(window, 200, 200)
    wait_until(lambda: not driver.info(window).visible, 10, "the preview hidden")

    size, upright = ppm_pixels(["convert", photo, "-auto-orient", "-depth", "8", "ppm:-"])
    assert size == (80, 120)
    for target, expected in (("bmp", upright), ("gif", upright.translate(WEB_LEVELS))):
        path = f"{work_dir}/portrait.{target}"
        page.convert_to(path)
        page.wait_saved(path)
        assert ppm_pixels(["convert", path + "[0]", "-depth", "8", "ppm:-"]) == (size, expected), target


def test_big_photograph_in_the_preview_repaints_promptly(driver, tervane, work_dir):
    photo = work_dir + "/big.jpg"
    magick("-size", "4000x3000", "gradient:orange-navy", "-quality", "90", photo)
    page = Page(driver, tervane)

    def repaint():
        # Other tests share the processor in CI and only ever add time: the quickest repaint is
        # the one that measures the window's own work.
        return min(driver.redraw(tervane.window) for _ in range(15))

    repaint(), repaint()  # the first repaints of a new window take longer under Wine
    empty = repaint()
    page.choose_source(photo)
    driver.redraw(tervane.window)  # the preview shrinks the photograph once
    driver.screenshot("convert_page_big_photograph", tervane.window)
    with_photo = repaint()
    # Stretching 12 million pixels into 89 x 89 at every paint costs over 40 ms, several times
    # the rest of the window; shrunk once, the preview costs next to nothing.
    assert with_photo < empty + 0.02, f"repaint {with_photo * 1e3:.0f} ms, {empty * 1e3:.0f} ms without the photo"
