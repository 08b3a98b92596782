"""The skinned menus as a user meets them, in every stored skin: the drawn menu bar opened by
click and keyboard, the arrows and the mouse moving across it, the commands behind it, the
tray and right-click menus dressed, and everything in the new skin after a switch."""

import time

import pytest

from conftest import BUILD_DIR
from skin_menus_helpers import (SKIN_CAPTIONS, Bar, bar_row, choose_skin, open_popups, picture_pixel, pixels,
                                skin_colours, wait_no_popup, wait_popup)
from tervane_driver import wait_until

TRAY_MESSAGE, WM_RBUTTONDOWN = 1026, 0x204
ICON_PAGE, CONVERT_PAGE, ABOUT_PAGE = "图标提取", "图片转换", "关于"


def shown_page(driver, window):
    return driver.find_children(window, "TTabSheet", visible=True)[0].text


def wait_page(driver, window, caption):
    wait_until(lambda: shown_page(driver, window) == caption, 10, f"the page {caption!r}")


def frame_is_the_menu_background(driver, popup, skin, name):
    """The popup's 3-pixel frame shows the skin's menu background picture."""
    shot = driver.screenshot(name)
    seen = pixels(shot, (popup.left, popup.top, 3, 3))
    expected = {(x, y): picture_pixel(BUILD_DIR, skin, "menuback.bmp", x, y) for x in range(3) for y in range(3)}
    assert seen == expected
    return shot


@pytest.mark.parametrize("skin", range(7))
def test_bar_menus_open_switch_and_close_in_every_skin(driver, tervane, skin):
    choose_skin(driver, tervane.window, skin)
    bar = Bar(driver, tervane).learn()
    assert bar.lefts == sorted(bar.lefts) and len(set(bar.lefts)) == 4
    # A click opens the menu under the item, with its first item selected, in the skin.
    popup = bar.open_by_click(1)
    time.sleep(0.4)
    frame_is_the_menu_background(driver, popup, skin, f"skin_menus_bar_menu_{skin + 1}")
    # The arrows walk the bar and wrap around; the help menu's items have no submenus.
    driver.key("Right")
    bar.wait_open(2)
    driver.key("Right")
    bar.wait_open(3)
    driver.key("Right")
    bar.wait_open(0)
    driver.key("Left")
    bar.wait_open(3)
    # Moving the mouse along the bar switches menus.
    driver.mouse_move(*bar.middle(2))
    bar.wait_open(2)
    driver.mouse_move(*bar.middle(0))
    bar.wait_open(0)
    driver.key("Escape")
    wait_no_popup(driver, tervane.pid)
    assert driver.info(tervane.window).visible


def test_keyboard_and_commands_of_the_bar(driver, tervane):
    window = tervane.window
    driver.focus(window)
    bar = Bar(driver, tervane).learn()
    # Alt with an item's accelerator opens its menu; the items' own accelerators run them.
    driver.key("alt+h")
    bar.wait_open(3)
    driver.key("Escape")
    wait_no_popup(driver, tervane.pid)
    # Alt alone opens the first menu, so the keyboard reaches the bar without an accelerator.
    driver.key("Alt_L")
    bar.wait_open(0)
    driver.key("Escape")
    wait_no_popup(driver, tervane.pid)
    driver.key("alt+f", "Right", "g")
    wait_page(driver, window, ICON_PAGE)
    bar.open_by_click(1)
    driver.key("Down", "Return")  # the first item was selected on opening: the second runs
    wait_page(driver, window, CONVERT_PAGE)
    driver.key("alt+h", "a")
    wait_page(driver, window, ABOUT_PAGE)
    # A skin chosen from the bar's skin menu dresses the bar anew.
    before = pixels(driver.screenshot("skin_menus_bar_before"), (bar.lefts[0], bar.row, 1, 1))
    driver.key("alt+s", "5")
    time.sleep(1.0)
    after = pixels(driver.screenshot("skin_menus_bar_after"), (bar.lefts[0], bar.row, 1, 1))
    assert before != after
    bar = Bar(driver, tervane).learn()  # the new skin's frame may move the bar
    popup = bar.open_by_click(2)
    time.sleep(0.3)
    frame_is_the_menu_background(driver, popup, 4, "skin_menus_skin_menu_after_switch")
    driver.key("Escape")
    driver.key("alt+f", "q")
    assert driver.wait_exit(tervane.pid, 15) == 0


def ink_density(shot, box):
    """Text pixels (those unlike the row's right end) per column that holds any."""
    seen = pixels(shot, box)
    width = box[2]
    ink, columns = 0, set()
    for (x, y), colour in seen.items():
        if colour != seen[(width - 1, y)]:
            ink += 1
            columns.add(x)
    return ink / max(1, len(columns))


def skin_rows(driver, tervane, popup_menu, skin):
    """Opens the popup's skin group (third item) and reads the check marks of its seven rows."""
    rows = 4
    row = (popup_menu.height - 6) // rows
    driver.mouse_move(popup_menu.left + 30, popup_menu.top + 3 + 2 * row + row // 2)
    submenu = wait_until(lambda: [p for p in open_popups(driver, tervane.pid) if p.left > popup_menu.left + 20],
                         10, "the skin group's submenu")[0]
    time.sleep(0.4)
    shot = driver.screenshot(f"skin_menus_tray_skins_{skin + 1}")
    text = skin_colours(BUILD_DIR, skin)["menutext"]
    height = (submenu.height - 6) // 7
    marks = []
    for i in range(7):
        box = (submenu.left + 3, submenu.top + 3 + i * height, 18, height)
        marks.append(sum(1 for colour in pixels(shot, box).values() if colour == text) > 4)
    return marks


@pytest.mark.parametrize("skin", [0, 3, 6])
def test_tray_and_right_click_menus_are_dressed(driver, tervane, skin):
    choose_skin(driver, tervane.window, skin)
    driver.mouse_move(300, 200)
    driver.post(tervane.window, TRAY_MESSAGE, 0, WM_RBUTTONDOWN)
    menu = wait_popup(driver, tervane.pid)
    time.sleep(0.4)
    shot = frame_is_the_menu_background(driver, menu, skin, f"skin_menus_tray_{skin + 1}")
    # "显示主窗口(&S)" is the default item: bold, its strokes denser than the next item's.
    row = (menu.height - 6) // 4
    density = [ink_density(shot, (menu.left + 20, menu.top + 3 + i * row, menu.width - 40, row)) for i in range(2)]
    assert density[0] > density[1] * 1.15
    assert skin_rows(driver, tervane, menu, skin) == [i == skin for i in range(7)]
    driver.key("Escape", "Escape")
    wait_no_popup(driver, tervane.pid)
    # The same menu from a right click on the window.
    driver.right_click_window(tervane.window, 200, 150)
    menu = wait_popup(driver, tervane.pid)
    time.sleep(0.4)
    frame_is_the_menu_background(driver, menu, skin, f"skin_menus_right_click_{skin + 1}")
    driver.key("Escape")
    wait_no_popup(driver, tervane.pid)
