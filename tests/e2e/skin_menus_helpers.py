"""Helpers of the skinned menus' end-to-end tests: the drawn menu bar's places (learnt from
where its menus open), open popup menus, and colours of screenshots."""

import subprocess

from tervane_driver import wait_until

POPUP_CLASS = "#32768"
SM_CYMENU = 15
SKIN_CAPTIONS = ["蓝色心情(&1)", "WinXP风格(&2)", "青色丛林(&3)", "绿色田野(&4)", "灰色城堡(&5)", "银色世界(&6)",
                 "戈壁沙滩(&7)"]


def open_popups(driver, pid):
    return [w for w in driver.find_windows(POPUP_CLASS, pid=pid, visible=True) if w.width > 8]


def wait_popup(driver, pid, left=None, timeout=10):
    """The open popup menu (the one at `left` when given)."""
    def found():
        popups = open_popups(driver, pid)
        if left is not None:
            popups = [p for p in popups if p.left == left]
        return popups[-1] if len(popups) == 1 or left is not None and popups else None
    return wait_until(found, timeout, f"a popup menu at {left}")


def wait_no_popup(driver, pid, timeout=10):
    wait_until(lambda: not open_popups(driver, pid), timeout, "the popup menus to close")


def bar_row(driver, window):
    """The screen y of the middle of the drawn menu bar (just above the client area)."""
    info = driver.info(window)
    return info.client_y - driver.system_metric(SM_CYMENU) // 2


def pixels(path, box):
    """{(x, y): (r, g, b)} of a box (left, top, width, height) of a screenshot."""
    left, top, width, height = box
    out = subprocess.run(["convert", path, "-crop", f"{width}x{height}+{left}+{top}", "+repage", "-depth", "8",
                          "txt:-"], capture_output=True, text=True, check=True).stdout
    result = {}
    for line in out.splitlines()[1:]:
        place, _, rest = line.partition(":")
        x, y = (int(v) for v in place.split(","))
        values = rest.split("(")[1].split(")")[0].split(",")
        result[(x, y)] = tuple(int(float(v)) for v in values[:3])
    return result

SKIN_FOLDERS = ["SkinItem6", "SkinItem12", "SkinItem1", "SkinItem7", "SkinItem8", "SkinItem2", "SkinItem11"]


def skin_colours(build_dir, skin):
    """The [Colours] of a stored skin's settings, as (r, g, b) by lower-case key."""
    import configparser
    settings = configparser.ConfigParser(strict=False, interpolation=None)
    with open(f"{build_dir}/skins/{SKIN_FOLDERS[skin]}/skin.ini", encoding="latin-1") as file:
        settings.read_string(file.read())
    return {key: tuple(int(v) for v in value.split()) for key, value in settings["Colours"].items()}


def picture_pixel(build_dir, skin, picture, x, y):
    """One pixel of a stored skin's picture."""
    path = f"{build_dir}/skins/{SKIN_FOLDERS[skin]}/{picture}"
    return next(iter(pixels(path, (x, y, 1, 1)).values()))


def choose_skin(driver, window, skin):
    """Switches the skin with its shortcut (Ctrl+F1 ... Ctrl+F7) and waits for the re-skin pass."""
    import time
    driver.focus(window)
    driver.key(f"ctrl+F{skin + 1}")
    time.sleep(1.0)


class Bar:
    """The drawn menu bar's items, each known by where its menu opens (its left edge)."""

    def __init__(self, driver, tervane):
        self.driver, self.tervane = driver, tervane
        self.row = bar_row(driver, tervane.window)
        self.lefts = []

    def learn(self, count=4):
        """Opens the first menu with a click and walks right with the arrow key."""
        info = self.driver.info(self.tervane.window)
        self.driver.click(info.client_x + 14, self.row)
        self.lefts = [wait_popup(self.driver, self.tervane.pid).left]
        for _ in range(count - 1):
            self.driver.key("Right")
            popup = wait_until(lambda: [p for p in open_popups(self.driver, self.tervane.pid)
                                        if p.left > self.lefts[-1]], 10, "the next bar menu")
            self.lefts.append(popup[0].left)
        self.driver.key("Escape")
        wait_no_popup(self.driver, self.tervane.pid)
        return self

    def middle(self, index):
        right = self.lefts[index + 1] if index + 1 < len(self.lefts) else self.lefts[index] + 30
        return ((self.lefts[index] + right) // 2, self.row)

    def open_by_click(self, index):
        self.driver.click(*self.middle(index))
        return wait_popup(self.driver, self.tervane.pid, self.lefts[index])

    def wait_open(self, index):
        return wait_popup(self.driver, self.tervane.pid, self.lefts[index])
