"""Choosing a skin as a user does: from the tray menu, with Ctrl+F1 ... Ctrl+F7 and from the
界面(&S) menu. Every way dresses the main window alike, every skin differently, the client area
keeps its size, and a message box opened after a switch wears the new skin."""

import os
import time

from conftest import MAIN_CAPTION
from convert_page_driver import Page, magick
from skin_menus_helpers import pixels, wait_no_popup, wait_popup
from tervane_driver import wait_until

TRAY_MESSAGE, WM_RBUTTONDOWN = 1026, 0x204
SWITCH_SETTLES = 0.9  # the re-skin pass runs 250 ms after the choice
CLIENT_SIZE = (435, 292)


OUTLINE = 8  # the rounded corners of the outline, left out: the frame's region is checked on its own


def frame_top(driver, window, name):
    """The window's non-client strip above its client area (caption and drawn menu bar)."""
    driver.focus(window)
    time.sleep(0.4)
    info = driver.info(window)
    shot = driver.screenshot(name)
    return pixels(shot, (info.left + OUTLINE, info.top + OUTLINE, info.width - 2 * OUTLINE,
                         info.client_y - info.top - OUTLINE))


def left_border_middle(shot, info, width=3):
    """A few columns of the left border at mid-height, where every skin stretches its middle."""
    return list(pixels(shot, (info.left, (info.top + info.bottom) // 2, width, 1)).values())


def choose_from_tray(driver, tervane, number):
    driver.post(tervane.window, TRAY_MESSAGE, 0, WM_RBUTTONDOWN)
    wait_popup(driver, tervane.pid)
    driver.key("f", str(number))  # 界面选择(&F), then the skin's own accelerator
    wait_no_popup(driver, tervane.pid)
    time.sleep(SWITCH_SETTLES)


def choose_with_shortcut(driver, tervane, number):
    driver.focus(tervane.window)
    driver.key(f"ctrl+F{number}")
    time.sleep(SWITCH_SETTLES)


def choose_from_bar(driver, tervane, number):
    driver.focus(tervane.window)
    driver.key("alt+s", str(number))
    wait_no_popup(driver, tervane.pid)
    time.sleep(SWITCH_SETTLES)


def test_every_way_of_choosing_dresses_the_window_alike(driver, tervane):
    window = tervane.window
    tops = {1: frame_top(driver, window, "skin_choice_start")}
    choose_from_tray(driver, tervane, 4)
    tops[4] = frame_top(driver, window, "skin_choice_tray_4")
    assert tops[4] != tops[1]
    for number in (1, 2, 3, 5, 6, 7, 4):
        choose_with_shortcut(driver, tervane, number)
        top = frame_top(driver, window, f"skin_choice_ctrl_f{number}")
        if number in tops:
            assert top == tops[number], f"Ctrl+F{number} dresses the window as before"
        tops[number] = top
        info = driver.info(window)
        assert (info.client_width, info.client_height) == CLIENT_SIZE
    distinct = {tuple(sorted(top.items())) for top in tops.values()}
    assert len(distinct) == 7, "every skin looks different"
    choose_from_bar(driver, tervane, 6)
    assert frame_top(driver, window, "skin_choice_bar_6") == tops[6]
    choose_from_tray(driver, tervane, 6)  # the skin in force, chosen again: reloaded, same look
    assert frame_top(driver, window, "skin_choice_tray_6_again") == tops[6]


def message_box_look(driver, tervane, page, work_dir, name):
    """The main window's left border while it is active, then the conversion page's refusal
    message's left border and top edge (the box is active then); the box is closed again."""
    driver.focus(tervane.window)
    time.sleep(0.4)
    main_border = left_border_middle(driver.screenshot(name + "_main"), driver.info(tervane.window))
    page.convert_to(os.path.join(work_dir, name + ".bmp"))
    box = driver.wait_message_box(tervane.pid, MAIN_CAPTION)
    time.sleep(0.5)
    info = driver.info(box.window)
    shot = driver.screenshot(name)
    look = (left_border_middle(shot, info), pixels(shot, (info.left, info.top, info.width, 6)))
    driver.press_button(box.window, "确定")
    wait_until(lambda: driver.info(box.window) is None, 10, "the message closed")
    return look, main_border


def test_a_message_box_after_a_switch_wears_the_new_skin(driver, tervane, work_dir):
    source = os.path.join(work_dir, "a.bmp")
    magick("-size", "8x8", "xc:white", "BMP3:" + source)
    page = Page(driver, tervane)
    page.choose_source(source)
    (first_border, first_top), main_first = message_box_look(driver, tervane, page, work_dir, "skin_choice_box_1")
    assert first_border == main_first, "the active box's border is the active main window's, in the first skin"
    choose_with_shortcut(driver, tervane, 4)
    (fourth_border, fourth_top), main_fourth = message_box_look(driver, tervane, page, work_dir, "skin_choice_box_4")
    assert fourth_border == main_fourth, "the active box's border is the active main window's, in the new skin"
    assert (fourth_border, fourth_top) != (first_border, first_top)
