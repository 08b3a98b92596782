"""Helpers of the skinned-controls tests: the skins' colours from the generator's palettes, the
colours a screen region shows, and a press and release at two places with the real mouse."""
import os
import subprocess
import sys
import time

from tervane_driver import wait_until

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "skingen"))
import themes  # noqa: E402  (the palettes the stored skins are drawn from, in the store's order)

PAGES = ("图标提取", "图片转换", "关于")
SKIN_COUNT = len(themes.SKINS)


def skin_colour(skin, name):
    """A colour of a skin (0-based, store order) by its palette name: "shadow", "accent", "push.border"."""
    value = themes.SKINS[skin]
    for part in name.split("."):
        value = value[part]
    return tuple(value)


def picture_colours(skin, picture, frames=1, cell=1):
    """The colours of one cell of a stored skin's picture, as the build left it in build/win32/skins."""
    build = os.environ.get("TERVANE_WIN_BUILD", os.path.join(os.path.dirname(__file__), "..", "..", "build", "win32"))
    path = os.path.join(build, "skins", themes.SKINS[skin]["item"], picture)
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True, capture_output=True, text=True,
                          timeout=30).stdout.split()
    width = int(size[0]) // frames
    return image_colours(["convert", path, "-crop", f"{width}x{size[1]}+{(cell - 1) * width}+0", "+repage"])


def image_colours(command):
    out = subprocess.run(command + ["-depth", "8", "txt:-"], check=True, capture_output=True, text=True,
                         timeout=30).stdout
    colours = set()
    for line in out.splitlines()[1:]:
        hex_part = line.split("#", 1)[1][:6]
        colours.add(tuple(int(hex_part[i:i + 2], 16) for i in (0, 2, 4)))
    return colours


def choose_skin(driver, tervane, skin):
    """Ctrl+F1 … Ctrl+F7, then the re-skin pass a quarter second later."""
    driver.focus(tervane.window)
    driver.key("ctrl+F%d" % (skin + 1))
    time.sleep(0.8)


def show_page(driver, tervane, caption):
    """Clicks the page's tab; returns the page."""
    tabs = driver.find_children(tervane.window, "TPageControl")[0]
    driver.focus(tervane.window)
    driver.click_window(tabs, 30 + 62 * PAGES.index(caption), 10)
    return wait_page(driver, tervane, caption, f"the page {caption!r}")


def wait_page(driver, tervane, caption, what):
    """Waits until the page is the one shown; returns it."""
    return wait_until(lambda: next(iter(driver.find_children(tervane.window, "TTabSheet", text=caption,
                                                             visible=True)), None), 10, what)


def region_colours(x, y, width, height):
    """The set of (red, green, blue) colours the display shows in a screen rectangle."""
    return image_colours(["import", "-silent", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "+repage"])


def press_and_release(press, release):
    """Presses the left button at one screen point and releases it at another, moving between them."""
    subprocess.run(["xdotool", "mousemove", str(press[0]), str(press[1]), "sleep", "0.15", "mousedown", "1",
                    "sleep", "0.15", "mousemove", str(release[0]), str(release[1]), "sleep", "0.15", "mouseup", "1"],
                   check=True, timeout=30)


def no_file_dialog_for(driver, pid, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if [w for w in driver.find_windows("#32770", pid=pid) if w.visible]:
            return False
        time.sleep(0.1)
    return True
