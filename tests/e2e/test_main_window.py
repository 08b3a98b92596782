"""The main window as a user meets it: its class, caption, size and style, the About page at
start, the controls of every page where they belong, the pages switched from the keyboard
and the menus, and the three ways to end the program."""

import pytest

from conftest import MAIN_CAPTION, MAIN_CLASS
from tervane_driver import WS_EX_TOOLWINDOW, wait_until

WS_SYSMENU = 0x00080000
WS_MINIMIZEBOX = 0x00020000
WS_MAXIMIZEBOX = 0x00010000
WS_THICKFRAME = 0x00040000
ES_READONLY = 0x0800
TBM_GETPOS = 0x0400
TBM_GETRANGEMAX = 0x0402

ICON_PAGE = "图标提取"
CONVERT_PAGE = "图片转换"
ABOUT_PAGE = "关于"

# (class, caption, left, top, width, height) on the icon and conversion pages.
ICON_PAGE_CONTROLS = [
    ("TEdit", "", 8, 16, 313, 20),
    ("TBitBtn", "打开 ", 328, 8, 89, 41),
    ("TGroupBox", "图标保存方式", 232, 72, 177, 81),
    ("TBitBtn", "向前", 32, 160, 89, 41),
    ("TBitBtn", "向后", 160, 160, 97, 41),
    ("TBitBtn", "全部保存", 312, 160, 105, 41),
    ("TEdit", "", 8, 218, 305, 20),
    ("TBitBtn", "保存", 328, 208, 89, 41),
]
CONVERT_PAGE_CONTROLS = [
    ("TEdit", "", 8, 25, 305, 20),
    ("TBitBtn", "原文件", 328, 16, 89, 41),
    ("TGroupBox", "图标保存方式", 232, 72, 177, 81),
    ("TTrackBar", "", 128, 184, 289, 17),
    ("TEdit", "", 8, 227, 305, 20),
    ("TBitBtn", "生成文件", 324, 216, 97, 41),
]
RADIO_BUTTONS = [("保存为256色图标", 24, 16, 113, 25, True), ("保存为真彩色图标", 24, 48, 121, 25, False)]


def shown_page(driver, window):
    pages = driver.find_children(window, "TTabSheet", visible=True)
    assert len(pages) == 1, "exactly one page is shown"
    return pages[0]


def wait_page(driver, window, caption):
    wait_until(lambda: shown_page(driver, window).text == caption, 10, f"the page {caption!r}")


PAGE_KEYS = {ICON_PAGE: "ctrl+g", CONVERT_PAGE: "ctrl+c", ABOUT_PAGE: "ctrl+a"}


def page(driver, window, caption):
    """The page's window: a page not shown yet has none, so it is shown first."""
    if not driver.find_children(window, "TTabSheet", text=caption):
        driver.focus(window)
        driver.key(PAGE_KEYS[caption])
        wait_page(driver, window, caption)
    return driver.find_children(window, "TTabSheet", text=caption)[0]


def placed(child, origin):
    return (child.left - origin.client_x, child.top - origin.client_y, child.width, child.height)


def test_window_class_caption_size_style_and_first_page(driver, tervane):
    window = driver.info(tervane.window)
    assert window.class_name == MAIN_CLASS and window.text == MAIN_CAPTION
    assert (window.client_width, window.client_height) == (435, 292)
    assert window.exstyle & WS_EX_TOOLWINDOW
    # The skin's frame draws the caption buttons itself and takes the system's out of the style.
    assert not window.style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)
    # Centred on the screen.
    screen_width, screen_height = driver.system_metric(0), driver.system_metric(1)
    assert abs((window.left + window.right) // 2 - screen_width // 2) <= 2
    assert shown_page(driver, window).text == ABOUT_PAGE
    pages = driver.find_children(window, "TPageControl")
    assert len(pages) == 1 and placed(pages[0], window) == (0, 0, 433, 289)
    # The other pages get their windows when they are first shown.
    assert [p.text for p in driver.find_children(window, "TTabSheet")] == [ABOUT_PAGE]
    driver.screenshot("main_about_page", window)


@pytest.mark.parametrize("caption, controls", [(ICON_PAGE, ICON_PAGE_CONTROLS), (CONVERT_PAGE, CONVERT_PAGE_CONTROLS)])
def test_page_controls_are_where_they_belong(driver, tervane, caption, controls):
    sheet = page(driver, tervane.window, caption)
    children = [c for c in driver.children(sheet) if c.parent == sheet.hwnd]
    found = [(c.class_name, c.text, *placed(c, sheet)) for c in children]
    assert found == controls
    for edit in (c for c in children if c.class_name == "TEdit"):
        assert edit.style & ES_READONLY
    group = next(c for c in children if c.class_name == "TGroupBox")
    radios = driver.find_children(group, "TRadioButton")
    assert [(r.text, *placed(r, group), driver.is_checked(r)) for r in radios] == RADIO_BUTTONS


def test_quality_slider_range_and_start_position(driver, tervane):
    track = driver.find_children(page(driver, tervane.window, CONVERT_PAGE), "TTrackBar")[0]
    assert driver.send(track, TBM_GETPOS) == 65
    assert driver.send(track, TBM_GETRANGEMAX) == 100


def test_shortcuts_switch_pages_even_from_an_edit_box(driver, tervane):
    window = tervane.window
    driver.focus(window)
    driver.key("ctrl+g")
    wait_page(driver, window, ICON_PAGE)
    driver.screenshot("main_icon_page", window)
    edit = driver.find_children(page(driver, window, ICON_PAGE), "TEdit")[0]
    driver.click_window(edit)
    wait_until(lambda: driver.active()[1] == edit.hwnd, 5, "the focus in the edit box")
    driver.key("ctrl+c")
    wait_page(driver, window, CONVERT_PAGE)
    driver.screenshot("main_convert_page", window)
    driver.key("ctrl+a")
    wait_page(driver, window, ABOUT_PAGE)


def test_menus_switch_pages(driver, tervane):
    window = tervane.window
    driver.focus(window)
    # 文件(&F), then one menu to the right (功能选择), then its items by their accelerators.
    driver.key("alt+f", "Right", "g")
    wait_page(driver, window, ICON_PAGE)
    driver.key("alt+f", "Right", "c")
    wait_page(driver, window, CONVERT_PAGE)
    driver.key("alt+h", "a")
    wait_page(driver, window, ABOUT_PAGE)


def test_tabs_switch_pages_with_the_mouse(driver, tervane):
    window = tervane.window
    driver.click_window(window, 30, 10)
    wait_page(driver, window, ICON_PAGE)


def test_ctrl_q_ends_the_program(driver, tervane):
    driver.focus(tervane.window)
    driver.key("ctrl+q")
    assert driver.wait_exit(tervane.pid, 15) == 0


def test_exit_item_of_the_file_menu_ends_the_program(driver, tervane):
    driver.focus(tervane.window)
    driver.key("alt+f", "q")
    assert driver.wait_exit(tervane.pid, 15) == 0


def test_close_box_ends_the_program(driver, tervane):
    assert tervane.close_and_wait() == 0
    assert driver.find_windows(MAIN_CLASS, MAIN_CAPTION) == []


def test_right_click_on_the_background_opens_the_popup_menu(driver, tervane):
    window = tervane.window
    driver.focus(window)
    driver.right_click_window(window, 300, 250)
    menu = driver.wait_window("#32768")
    driver.key("Escape")
    driver.wait_gone(menu)
    assert driver.info(window).visible
