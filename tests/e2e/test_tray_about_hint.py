"""The tray icon's callback message, the window-menu command 99, the About page's links and
help file, and the icon hint window, driven as a user would."""

import os
import re
import subprocess

from conftest import MAIN_CAPTION, MAIN_CLASS, start_tervane
from tervane_driver import wait_until

TRAY_MESSAGE = 1026
WM_SYSCOMMAND = 0x0112
WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN = 0x201, 0x203, 0x204
RED, BLUE = (255, 0, 0), (0, 0, 255)


def shown_page(driver, window):
    return driver.find_children(window, "TTabSheet", visible=True)[0].text


def application_window(driver, pid):
    return driver.find_windows("TApplication", pid=pid)[0]


def minimise(driver, tervane):
    driver.focus(tervane.window)
    driver.key("ctrl+m")
    wait_until(lambda: not driver.info(tervane.window).visible, 10, "the main window to hide")


def colour_count(path, box, colour):
    """How many pixels of one colour a rectangle (left, top, width, height) of a screenshot has."""
    left, top, width, height = box
    out = subprocess.run(["convert", path, "-crop", f"{width}x{height}+{left}+{top}", "+repage", "txt:-"],
                         capture_output=True, text=True, check=True).stdout
    wanted = "#%02X%02X%02X" % colour
    return sum(1 for line in out.splitlines() if wanted in line)


def label_box(driver, window, left, top, width=150, height=14):
    info = driver.info(window)
    return (info.client_x + left, info.client_y + top, width, height)


def bring_another_program_forward(driver):
    probe = os.path.join(os.path.dirname(driver_exe_path()), "InputProbe.exe")
    pid = driver.start(probe, os.path.dirname(probe))
    window = driver.wait_window(pid=pid, visible=True, timeout=20)
    driver.focus(window)
    return window


def driver_exe_path():
    from conftest import build_path
    return build_path("TERVANE_DRIVER", "tests", "bin", "GuiDriver.exe")


def test_left_press_while_inactive_restores_and_a_double_click_does_no_more(driver, tervane):
    minimise(driver, tervane)
    bring_another_program_forward(driver)
    driver.send(tervane.window, TRAY_MESSAGE, 0, WM_LBUTTONDBLCLK)
    assert not driver.info(tervane.window).visible, "a double click alone does nothing"
    driver.send(tervane.window, TRAY_MESSAGE, 0, WM_LBUTTONDOWN)
    wait_until(lambda: driver.info(tervane.window).visible, 10, "the main window to come back")
    driver.screenshot("tray_restored", tervane.window)


def test_right_press_opens_the_popup_menu_at_the_cursor(driver, tervane):
    driver.mouse_move(400, 300)
    driver.post(tervane.window, TRAY_MESSAGE, 0, WM_RBUTTONDOWN)
    menu = driver.wait_window("#32768")
    assert (menu.left, menu.top) == (400, 300)
    driver.screenshot("tray_menu")
    driver.key("Escape")
    driver.wait_gone(menu)


def test_popup_menu_opens_even_when_minimised_and_shows_the_window(driver, tervane):
    minimise(driver, tervane)
    driver.mouse_move(500, 400)
    driver.post(tervane.window, TRAY_MESSAGE, 0, WM_RBUTTONDOWN)
    menu = driver.wait_window("#32768")
    driver.key("Down", "Return")  # the first item, "显示主窗口(&S)"
    driver.wait_gone(menu)
    wait_until(lambda: driver.info(tervane.window).visible, 10, "the main window to be shown")


def test_window_menu_command_99_restores_and_shows_the_about_page(driver, tervane):
    driver.focus(tervane.window)
    driver.key("ctrl+g")
    wait_until(lambda: shown_page(driver, tervane.window) == "图标提取", 10, "the icon page")
    minimise(driver, tervane)
    driver.post(application_window(driver, tervane.pid), WM_SYSCOMMAND, 99, 0)
    wait_until(lambda: driver.info(tervane.window).visible, 10, "the main window to be restored")
    wait_until(lambda: shown_page(driver, tervane.window) == "关于", 10, "the About page")


def test_links_turn_red_under_the_mouse_and_blue_over_the_background(driver, tervane):
    window = tervane.window
    driver.focus(window)
    page = driver.find_children(window, "TTabSheet", text="关于")[0]
    origin = (page.client_x - driver.info(window).client_x, page.client_y - driver.info(window).client_y)
    homepage = (origin[0] + 150, origin[1] + 144)
    second = (origin[0] + 149, origin[1] + 168)
    driver.mouse_move(*screen_point(driver, window, homepage[0] + 10, homepage[1] + 5))
    driver.mouse_move(*screen_point(driver, window, second[0] + 10, second[1] + 5))
    shot = driver.screenshot("links_red", window)
    full = driver.screenshot("links_red_screen")
    assert colour_count(full, label_box(driver, window, *homepage), RED) > 20, shot
    assert colour_count(full, label_box(driver, window, *second), RED) > 20
    driver.mouse_move(*screen_point(driver, window, origin[0] + 30, origin[1] + 200))
    # The link is repainted once the program has seen the pointer leave it; on a busy machine
    # that may come after the first look.
    def screen_without_red_link():
        shot = driver.screenshot("links_blue_screen")
        return shot if colour_count(shot, label_box(driver, window, *homepage), RED) == 0 else None

    full = wait_until(screen_without_red_link, 5, "the link to turn back from red")
    assert colour_count(full, label_box(driver, window, *homepage), BLUE) > 20


def screen_point(driver, window, x, y):
    info = driver.info(window)
    return info.client_x + x, info.client_y + y


def test_f1_opens_the_readme_beside_the_program_in_notepad_from_another_folder(driver, work_dir, tervane_exe):
    """The prepared prefix opens text files in Notepad, as Windows does. The program runs in an
    empty folder, so the help that opens can only be the readme.txt beside the program."""
    readme = open(os.path.join(os.path.dirname(tervane_exe), "readme.txt"), "rb").read()
    # UTF-16 with its byte-order mark: whole in Notepad whatever the system's code page.
    assert readme.startswith(b"\xff\xfe") and all(t.encode("utf-16-le") in readme for t in ("图标提取", "\r\n"))
    run = start_tervane(driver, tervane_exe, work_dir)
    driver.focus(run.window)
    driver.key("F1")
    notepad = driver.wait_window("Notepad", re.compile(r"^readme(\.txt)? - "), timeout=20)
    editor = driver.wait_child(notepad, "Edit")
    wait_until(lambda: "图标提取" in driver.text(editor), 10, "the help text in Notepad")
    driver.screenshot("help_in_notepad", notepad)


def test_hints_are_icon_hints_of_the_byte_rule_size(driver, tervane):
    window = tervane.window
    driver.focus(window)
    driver.key("ctrl+g")
    wait_until(lambda: shown_page(driver, window) == "图标提取", 10, "the icon page")
    page = driver.find_children(window, "TTabSheet", text="图标提取")[0]
    driver.mouse_move(page.client_x + 104 + 30, page.client_y + 80 + 30)  # Image1, "图标预览"
    hint = driver.wait_window("TIconHintX", pid=tervane.pid, timeout=10)
    wait_until(lambda: driver.info(hint).visible, 10, "the hint to show")
    hint = driver.info(hint)
    assert (hint.width, hint.height) == (72, 68)
    shot = driver.screenshot("hint_icon_preview")
    # The icon sits at (5, 25) inside the hint: its pixels are not the hint's background there.
    crop = subprocess.run(["convert", shot, "-crop", f"32x32+{hint.left + 5}+{hint.top + 25}", "+repage",
                           "-format", "%k", "info:"], capture_output=True, text=True, check=True).stdout
    assert int(crop) > 4, "the program's icon is drawn at (5, 25)"

    driver.key("ctrl+c")
    wait_until(lambda: shown_page(driver, window) == "图片转换", 10, "the conversion page")
    page = driver.find_children(window, "TTabSheet", text="图片转换")[0]
    driver.mouse_move(page.client_x + 88 + 40, page.client_y + 64 + 40)  # Image3, "点击放大图片"
    wait_until(lambda: any(driver.info(w).width == 92 for w in driver.find_windows("TIconHintX", pid=tervane.pid)
                           if driver.info(w) and driver.info(w).visible), 10, "the wider hint")
    driver.screenshot("hint_enlarge")
