"""The skinned window frame as a user meets it: the main window dressed from the start (shaped
outline, no minimise or maximise button, a caption double click that changes nothing, the system
menu's Close and the skin's close button both ending the program), the program's other windows
and the system's dialogs wearing the same border, and screenshots of every skin to look at."""

import os
import time

import pytest

from conftest import start_tervane
from convert_page_driver import Page, magick
from skin_controls_helpers import choose_skin, picture_colours, region_colours, SKIN_COUNT
from skin_menus_helpers import pixels, wait_popup
from test_icon_page import CONFIRM_CAPTION, IconPage, wait_closed
from test_skin_choice import CLIENT_SIZE, left_border_middle, message_box_look
from tervane_driver import wait_until

FIRST_SKIN = 0
# Where the first skin puts its caption buttons: pixels left of the window's right edge, below its top.
CLOSE_BUTTON, MIN_BUTTON, MAX_BUTTON, BUTTON_TOP, BUTTON_SIZE = 27, 70, 50, 4, 19


def point(shot, x, y):
    return pixels(shot, (x, y, 1, 1))[(0, 0)]


def button_colours(picture):
    """Colours of a caption button's normal picture that the caption itself never shows."""
    return picture_colours(FIRST_SKIN, picture, frames=4) - picture_colours(FIRST_SKIN, "top.bmp")


def button_box(info, from_right):
    return (info.right - from_right, info.top + BUTTON_TOP, BUTTON_SIZE, BUTTON_SIZE)


@pytest.mark.timeout(90)
def test_main_window_is_dressed_and_its_caption_works(driver, tervane_exe):
    desktop = driver.screenshot("skin_frame_desktop")
    run = start_tervane(driver, tervane_exe)
    driver.focus(run.window)
    time.sleep(0.6)
    info = driver.info(run.window)
    shot = driver.screenshot("skin_frame_start")
    for x in (info.left, info.right - 1):  # the magenta corners are cut out of the outline
        assert point(shot, x, info.top) == point(desktop, x, info.top), "the desktop shows at the corner"
    middle = (info.left + info.right) // 2
    assert point(shot, middle, info.top) != point(desktop, middle, info.top)

    close, minimise, maximise = (button_colours(name) for name in ("close.bmp", "min.bmp", "max.bmp"))
    assert close and minimise and maximise
    assert region_colours(*button_box(info, CLOSE_BUTTON)) & close, "the close button shows"
    between = region_colours(info.right - MIN_BUTTON, info.top + BUTTON_TOP,
                             MIN_BUTTON - CLOSE_BUTTON - 2, BUTTON_SIZE)
    assert not between & (minimise | maximise), "no minimise or maximise button"

    caption = (middle, info.top + BUTTON_TOP + BUTTON_SIZE // 2)
    driver.click(*caption, count=2)
    time.sleep(0.6)
    after = driver.info(run.window)
    assert (after.left, after.top, after.right, after.bottom) == (info.left, info.top, info.right, info.bottom)

    # Another program's window, out of the way, takes the activation to show the inactive look.
    other = driver.wait_window("Notepad", pid=driver.start("C:\\windows\\notepad.exe"), visible=True)
    driver.request("place_window", other.hwnd, 0, 690, 300, 70)
    for skin in range(SKIN_COUNT):
        choose_skin(driver, run, skin)
        active = driver.screenshot(f"skin_frame_main_skin{skin + 1}", run.window)
        dressed = driver.info(run.window)
        assert (dressed.client_width, dressed.client_height) == CLIENT_SIZE, f"skin {skin + 1}"
        driver.focus(other)
        time.sleep(0.4)
        inactive = driver.screenshot(f"skin_frame_main_skin{skin + 1}_inactive", run.window)
        title_strip = (0, 0, dressed.width, dressed.client_y - dressed.top)
        assert pixels(active, title_strip) != pixels(inactive, title_strip), f"skin {skin + 1}: the inactive caption"
    choose_skin(driver, run, FIRST_SKIN)

    driver.click(*caption, button=3)
    wait_popup(driver, run.pid)
    driver.screenshot("skin_frame_system_menu")
    driver.key("Up", "Up", "Return")  # from the bottom: Wine's own "about" item, then Close
    assert driver.wait_exit(run.pid, 15) == 0, "the system menu's Close ends the program"

    run = start_tervane(driver, tervane_exe)
    driver.focus(run.window)
    time.sleep(0.6)
    left, top, size, _ = button_box(driver.info(run.window), CLOSE_BUTTON)
    driver.click(left + size // 2, top + size // 2)
    assert driver.wait_exit(run.pid, 15) == 0, "the skin's close button ends the program"


def active_main_border(driver, tervane):
    driver.focus(tervane.window)
    time.sleep(0.4)
    return left_border_middle(driver.screenshot("skin_frame_main_active"), driver.info(tervane.window))


def assert_dressed(driver, window, main_border, name):
    """The window, active in front, wears the active main window's left border."""
    time.sleep(0.6)
    info = driver.info(window)
    driver.screenshot(name, window)
    assert left_border_middle(driver.screenshot(name + "_screen"), info) == main_border, name


@pytest.mark.timeout(90)
def test_the_other_windows_and_dialogs_wear_the_skin(driver, tervane, fixtures_dir, work_dir):
    source = os.path.join(work_dir, "a.bmp")
    magick("-size", "60x40", "gradient:yellow-green", "-type", "TrueColor", "BMP3:" + source)
    main_border = active_main_border(driver, tervane)
    page = Page(driver, tervane)
    dialog = page.open_dialog()
    assert_dressed(driver, dialog, main_border, "skin_frame_open_dialog")
    driver.press_button(dialog, control_id=2)
    wait_until(lambda: driver.info(dialog) is None, 15, "the open dialog closed")

    page.choose_source(source)
    driver.click_window(page.sheet, 88 + 40, 64 + 40)
    preview = driver.wait_window("TForm2", pid=tervane.pid, visible=True)
    assert_dressed(driver, preview, main_border, "skin_frame_preview")
    driver.click_window(preview, 200, 200)
    wait_until(lambda: driver.info(tervane.window).enabled, 10, "the preview closed")

    (box_border, _), main_again = message_box_look(driver, tervane, page, work_dir, "skin_frame_message_box")
    assert box_border == main_again == main_border, "the system's message box is dressed"

    icons = IconPage(driver, tervane)
    icons.open(fixtures_dir + "/iconsource/IconSource.dll")
    os.makedirs(work_dir + "/allicons")
    open(work_dir + "/allicons/0.ico", "wb").write(b"old")
    icons.click("全部保存")
    driver.answer_folder_dialog(work_dir, tervane.pid)
    question = driver.wait_window("TMessageForm", CONFIRM_CAPTION, pid=tervane.pid)
    assert_dressed(driver, question, main_border, "skin_frame_question")
    driver.screenshot("skin_frame_main_inactive", tervane.window)
    driver.click_window(driver.wait_child(question, text="全否"))
    wait_closed(driver, question)
    assert tervane.close_and_wait() == 0
