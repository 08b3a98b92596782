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
