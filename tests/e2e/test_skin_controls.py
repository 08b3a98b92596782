"""The controls of dressed windows: the main window's pages in every skin, bitmap buttons that
click once on a press and release over them, the track bar and the tabs still working, and the
standard dialogs and message boxes dressed and usable."""
import pytest

from conftest import MAIN_CAPTION
from tervane_driver import wait_until

PAGES = ("图标提取", "图片转换", "关于")
SKIN_KEYS = ["ctrl+F%d" % n for n in range(1, 8)]


def show_page(driver, tervane, caption):
    tabs = driver.find_children(tervane.window, "TPageControl")[0]
    index = PAGES.index(caption)
    driver.focus(tervane.window)
    driver.click_window(tabs, 30 + 62 * index, 10)
    wait_until(lambda: driver.find_children(tervane.window, "TTabSheet", text=caption, visible=True), 10,
               f"the page {caption!r}")


def test_screenshots_of_every_page_in_every_skin(driver, tervane):
    for number, key in enumerate(SKIN_KEYS, 1):
        driver.focus(tervane.window)
        driver.key(key)
        import time
        time.sleep(0.8)
        for caption in PAGES:
            show_page(driver, tervane, caption)
            time.sleep(0.3)
            driver.screenshot(f"skin_controls_{number}_{PAGES.index(caption)}", tervane.window)
