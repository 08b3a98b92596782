"""Files dropped onto the window from another program, as Explorer drops them (WM_DROPFILES
with the names in the window's own memory): each page takes the first file as if it had been
chosen in its open dialog; the About page sends it to the page for its kind. A drop during a
conversion is refused, and so is one while a dialog of the program is open; the preview window
takes none."""

import os
import subprocess
import urllib.parse

import pytest

from conftest import MAIN_CAPTION
from convert_page_driver import Page, magick
from tervane_driver import wait_until, windows_path
from test_icon_page import BLUE, GREEN, PICKER_CAPTION, RED, IconPage, colour_of, dominant, wait_closed

MISSING = "你所选择的文件名不存在,请重新选择. 为确保文件存在,请用鼠标选择文件,不要直接输入文件名."
TITLE = "Quorlin图片处理Tervane"
NAME_MESSAGE = "文件名中有简体中文代码页(936)不能表示的字符"


def drop(driver, window, *paths):
    x, y = driver.info(window).center
    return driver.drop(x, y, *paths)


@pytest.fixture(scope="module")
def xdrop(tmp_path_factory):
    """xdrop/xdrop.c: drops files as a Linux file manager does, through the X server; Wine makes
    the drop's handle in the program's process, as the shell does on Windows."""
    program = str(tmp_path_factory.mktemp("xdrop") / "xdrop")
    subprocess.run(["cc", "-O2", "-o", program, os.path.join(os.path.dirname(__file__), "xdrop", "xdrop.c"),
                    "-lX11"], check=True, timeout=120)
    return program


def drop_from_linux(xdrop, driver, window, *paths):
    """'accepted' and 'finished' once the window took the files, 'refused' when it takes none."""
    x, y = driver.info(window).center
    uris = ["file://" + urllib.parse.quote(os.path.abspath(p)) for p in paths]
    done = subprocess.run([xdrop, str(driver.x_window(window)), str(x), str(y)] + uris, capture_output=True,
                          text=True, timeout=30)
    return done.stdout.split()


def answer_box(driver, pid, caption, expected):
    box = driver.wait_message_box(pid, caption)
    assert expected(box.text), box.text
    driver.press_button(box.window, "确定")
    wait_closed(driver, box.window)


def take_picker(page):
    picker = page.picker()
    page.driver.press_button(picker, "确定")
    wait_closed(page.driver, picker)
    wait_until(lambda: page.text(page.path_edit) != "", 10, "the source path")


def test_about_page_sends_each_kind_to_its_page(driver, tervane, fixtures_dir, work_dir):
    notes = work_dir + "/notes.txt"
    open(notes, "w").write("x")
    assert drop(driver, tervane.window, notes) == tervane.window.hwnd
    answer_box(driver, tervane.pid, TITLE, lambda t: t == "Unknown picture file extension (.txt)")
    dll = fixtures_dir + "/iconsource/IconSource.dll"
    drop(driver, tervane.window, dll, notes)
    page = IconPage(driver, tervane, show=False)
    take_picker(page)
    assert page.text(page.path_edit).endswith("IconSource.dll")
    driver.focus(tervane.window)
    driver.key("ctrl+a")
    wait_until(lambda: not driver.info(page.page).visible, 10, "the About page")
    picture = work_dir + "/Back.JPEG"
    magick("-size", "20x10", "xc:rgb(30,60,220)", picture)
    drop(driver, tervane.window, picture)
    sheet = driver.wait_child(tervane.window, "TTabSheet", text="图片转换", visible=True)
    source = [e for e in driver.find_children(sheet, "TEdit") if e.top - sheet.client_y == 25][0]
    wait_until(lambda: driver.info(source).text.endswith("Back.JPEG"), 10, "the dropped picture as source")
    driver.screenshot("file_drop_about_to_convert", tervane.window)


def test_icon_page_takes_the_first_file_and_refuses_a_folder(driver, tervane, fixtures_dir, work_dir):
    page = IconPage(driver, tervane)
    drop(driver, tervane.window, work_dir)
    answer_box(driver, tervane.pid, MAIN_CAPTION, lambda t: t == MISSING)
    assert page.text(page.path_edit) == ""
    drop(driver, tervane.window, fixtures_dir + "/iconsource/IconSource.dll", fixtures_dir + "/iconsource/blue.ico")
    take_picker(page)
    assert page.text(page.path_edit).endswith("IconSource.dll")
    page.click("向前")
    driver.screenshot("file_drop_icon_page", tervane.window)


def test_conversion_page_takes_a_picture_refuses_while_busy_and_the_preview_takes_none(driver, tervane, work_dir):
    page = Page(driver, tervane)
    small, big = work_dir + "/small.bmp", work_dir + "/big.jpg"
    magick("-size", "30x20", "gradient:red-blue", "-type", "TrueColor", "BMP3:" + small)
    magick("-seed", "5", "-size", "3000x2000", "plasma:fractal", "-quality", "90", big)
    drop(driver, tervane.window, work_dir)
    answer_box(driver, tervane.pid, MAIN_CAPTION, lambda t: t == MISSING)
    assert page.source_text() == ""
    drop(driver, tervane.window, big, small)
    wait_until(lambda: page.source_text().endswith("big.jpg"), 10, "the dropped picture as source")
    # What the dialog would have allowed for a JPEG source.
    assert page.save_dialog_types()[1] == ["BMP file(*.bmp)", "ICO file(*.ico)", "GIF file(*.gif)", "PNG file(*.png)"]
    target = work_dir + "/big.gif"
    page.convert_to(target)
    # The window answers no message while it writes: what would take a drop is asked without one.
    x, y = tervane.window.center
    wait_until(lambda: driver.drop_target(x, y) == 0, 20, "the conversion under way", interval=0.02)
    assert driver.drop(x, y, small) == 0, "a drop while the page writes is refused"
    page.wait_saved(target, timeout=120)
    assert page.source_text().endswith("big.jpg")
    assert drop(driver, tervane.window, small) == tervane.window.hwnd
    wait_until(lambda: page.source_text().endswith("small.bmp"), 10, "the next drop taken")
    driver.click_window(page.sheet, 88 + 40, 64 + 40)
    preview = driver.wait_window("TForm2", pid=tervane.pid, visible=True)
    assert drop(driver, preview, big) == 0, "the preview window takes no file"
    driver.click_window(preview, 200, 200)
    wait_closed(driver, preview)
    assert page.source_text().endswith("small.bmp")


def test_a_name_code_page_936_cannot_hold_gets_a_message_and_nothing_is_written(driver, tervane, work_dir):
    """Dropped, or typed into the save dialog: the message names the file, nothing else happens."""
    page = Page(driver, tervane)
    korean, source = work_dir + "/그림.bmp", work_dir + "/plain.bmp"
    magick("-size", "8x8", "xc:white", "BMP3:" + korean)
    magick("-size", "8x8", "xc:white", "BMP3:" + source)
    folder = windows_path(work_dir)
    drop(driver, tervane.window, korean)
    answer_box(driver, tervane.pid, TITLE, lambda t: t.startswith(NAME_MESSAGE) and folder + "\\" in t and ".bmp" in t)
    assert page.source_text() == "" and page.status() == ""
    page.choose_source(source)
    page.convert_to(work_dir + "/사진.gif")
    answer_box(driver, tervane.pid, TITLE, lambda t: t.startswith(NAME_MESSAGE) and folder + "\\" in t and ".gif" in t)
    assert page.status() == ""
    assert sorted(os.listdir(work_dir)) == sorted(["그림.bmp", "plain.bmp"])


def test_a_drop_while_the_folder_browser_of_save_all_is_open_changes_nothing(xdrop, driver, tervane, fixtures_dir,
                                                                             work_dir):
    page = IconPage(driver, tervane)
    page.open(fixtures_dir + "/iconsource/IconSource.dll")
    page.click("全部保存")
    browser = driver.info(driver.wait_dialog(tervane.pid))
    main = driver.info(tervane.window)
    inset = [(main.left + dx, main.top + dy) for dx in (40, main.width - 40) for dy in (60, main.height - 40)]
    x, y = next(p for p in inset if not browser.contains(*p))
    assert driver.drop(x, y, fixtures_dir + "/iconsource/blue.ico") == 0, "the disabled window takes no file"
    driver.answer_folder_dialog(work_dir, tervane.pid)
    box = driver.wait_message_box(tervane.pid, MAIN_CAPTION)
    driver.press_button(box.window, "确定")
    page.wait_status(lambda t: t.startswith("全部图标已保存到"))
    assert driver.find_windows(text=PICKER_CAPTION, pid=tervane.pid) == []
    target = work_dir + "/allicons"
    assert sorted(os.listdir(target)) == ["0.ico", "1.ico", "2.ico"]
    for name, colour in zip(["0.ico", "1.ico", "2.ico"], [RED, GREEN, BLUE]):
        assert dominant(colour_of(target + "/" + name), colour)
    assert page.text(page.path_edit).endswith("IconSource.dll")
    assert drop_from_linux(xdrop, driver, tervane.window, fixtures_dir + "/iconsource/blue.ico") == ["accepted",
                                                                                                     "finished"]
    take_picker(page)
    wait_until(lambda: page.text(page.path_edit).endswith("blue.ico"), 10, "the dropped icon file as source")


def test_a_long_path_opens_and_a_folder_on_the_about_page_is_no_file(driver, tervane, work_dir):
    """A file deeper than the 260 characters of a classic path exists all the same; a folder
    dropped on the About page gets the message the pages give for a folder."""
    assert drop(driver, tervane.window, work_dir) == tervane.window.hwnd
    answer_box(driver, tervane.pid, MAIN_CAPTION, lambda t: t == MISSING)
    deep = os.path.join(work_dir, *["深层文件夹" + "d" * 60] * 4)
    os.makedirs(deep)
    picture = os.path.join(deep, "long.bmp")
    magick("-size", "12x8", "xc:rgb(200,40,40)", "BMP3:" + picture)
    assert len(windows_path(picture)) > 260
    page = Page(driver, tervane)
    drop(driver, tervane.window, picture)
    wait_until(lambda: page.source_text().endswith("long.bmp"), 10, "the deep picture as source")
