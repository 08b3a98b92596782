"""The icon page as a user meets it: opening an icon source through the open dialog and the
icon picker, stepping through its icons, saving the current icon in four formats and all
icons into an "allicons" folder. Which icon the page holds is read back from the files it
saves (red, green, blue), checked with ImageMagick, djpeg and giflib."""

import os
import shutil
import subprocess

from conftest import MAIN_CAPTION
from convert_page_driver import screen_colour
from display_watch import shown_while_busy, stop, watch, watch_text_look, xwatch  # noqa: F401 (a fixture)
from tervane_driver import wait_until

ICON_PAGE = "图标提取"
PICKER_CAPTION = "更改图标"
CONFIRM_CAPTION = "确认--Quorlin图片处理Tervane"
LB_SETCURSEL = 0x0186
RED, GREEN, BLUE = (208, 48, 48), (48, 176, 64), (32, 80, 224)


def wait_closed(driver, window):
    def closed():
        info = driver.info(window)  # read once: the window may go between two reads
        return info is None or not info.visible
    wait_until(closed, 10, "the dialog to close")


class IconPage:
    def __init__(self, driver, tervane, show=True):
        self.driver, self.run = driver, tervane
        if show:
            driver.focus(tervane.window)
            driver.key("ctrl+g")
        self.page = driver.wait_child(tervane.window, "TTabSheet", text=ICON_PAGE, visible=True)
        edits = sorted(driver.find_children(self.page, "TEdit"), key=lambda e: e.top)
        self.path_edit, self.status_edit = edits[0], edits[-1]

    def text(self, edit):
        return self.driver.info(edit).text

    def click(self, caption):
        self.driver.click_window(self.driver.wait_child(self.page, "TBitBtn", text=caption))

    def start_open(self, path):
        self.click("打开 ")
        self.driver.answer_file_dialog(path, self.run.pid)

    def picker(self):
        return self.driver.wait_dialog(self.run.pid, PICKER_CAPTION)

    def open(self, path, index=None):
        self.start_open(path)
        picker = self.picker()
        if index is not None:
            self.driver.send(self.driver.wait_child(picker, "ListBox"), LB_SETCURSEL, index, 0)
        self.driver.press_button(picker, "确定")
        wait_closed(self.driver, picker)
        wait_until(lambda: self.text(self.path_edit) != "", 10, "the source path")

    def save(self, path):
        self.click("保存")
        self.driver.answer_file_dialog(path, self.run.pid)
        self.wait_status(lambda t: t.startswith("图标已保存为"))

    def wait_status(self, probe):
        wait_until(lambda: probe(self.text(self.status_edit)), 20, "the status line")
        return self.text(self.status_edit)

    def message_box(self):
        return self.driver.wait_message_box(self.run.pid, MAIN_CAPTION)


def pixel(path, x, y):
    out = subprocess.run(["convert", path, "-alpha", "off", "-format", f"%[fx:int(255*r+.5)],%[fx:int(255*g+.5)],%[fx:int(255*b+.5)]",
                          "-crop", f"1x1+{x}+{y}", "info:"], check=True, capture_output=True, text=True).stdout
    return tuple(int(v) for v in out.split(","))


def png_pixel(path, x, y):
    """(red, green, blue, alpha) as ImageMagick reads them."""
    out = subprocess.run(["convert", path, "-alpha", "set", "-crop", f"1x1+{x}+{y}", "-format",
                          "%[fx:int(255*r+.5)],%[fx:int(255*g+.5)],%[fx:int(255*b+.5)],%[fx:int(255*a+.5)]", "info:"],
                         check=True, capture_output=True, text=True).stdout
    return tuple(int(v) for v in out.split(","))


def near(actual, expected, tolerance=12):
    return all(abs(a - e) <= tolerance for a, e in zip(actual, expected))


def dominant(actual, expected):
    """The same strongest channel, clearly ahead: 256-colour icons move colours to a palette."""
    strongest = max(range(3), key=lambda i: expected[i])
    return all(actual[strongest] >= actual[i] + 64 for i in range(3) if i != strongest)


def true_colour_icon_pixel(path, x, y):
    """A pixel of a one-image 16-bit (5-5-5) icon file, which ImageMagick does not read."""
    data = open(path, "rb").read()
    offset = int.from_bytes(data[18:22], "little")
    width = int.from_bytes(data[offset + 4:offset + 8], "little")
    height = int.from_bytes(data[offset + 8:offset + 12], "little") // 2
    row = offset + 40 + (height - 1 - y) * width * 2
    value = int.from_bytes(data[row + 2 * x:row + 2 * x + 2], "little")
    return tuple(((value >> shift) & 31) << 3 for shift in (10, 5, 0))


def colour_of(path):
    """The icon's colour, taken inside the shape and away from frames and diagonals."""
    return pixel(path, 12, 20)


def test_three_icons_step_both_ways_with_wrap_around(driver, tervane, fixtures_dir, work_dir):
    page = IconPage(driver, tervane)
    source = fixtures_dir + "/iconsource/IconSource.dll"
    page.open(source, index=2)
    assert page.text(page.path_edit).endswith("IconSource.dll")
    driver.screenshot("icon_page_blue", tervane.window)
    page.save(work_dir + "/start.bmp")
    assert near(colour_of(work_dir + "/start.bmp"), BLUE)
    page.click("向前")  # 2 -> 0
    page.save(work_dir + "/forward.bmp")
    assert near(colour_of(work_dir + "/forward.bmp"), RED)
    page.click("向后")  # 0 -> 2
    page.click("向后")  # 2 -> 1
    page.save(work_dir + "/back.bmp")
    assert near(colour_of(work_dir + "/back.bmp"), GREEN)
    driver.screenshot("icon_page_green", tervane.window)
    assert tervane.close_and_wait() == 0


def test_saving_in_four_formats(driver, tervane, fixtures_dir, work_dir):
    page = IconPage(driver, tervane)
    page.open(fixtures_dir + "/iconsource/IconSourceApp.exe", index=2)
    page.save(work_dir + "/x.Ico")
    assert page.text(page.status_edit) == "图标已保存为" + "Z:" + work_dir.replace("/", "\\") + "\\x.Ico"
    data = open(work_dir + "/x.Ico", "rb").read()
    assert data[:6] == bytes([0, 0, 1, 0, 1, 0])  # one image
    assert data[6:8] == bytes([32, 32]) and int.from_bytes(data[14:18], "little") == len(data) - 22
    assert int.from_bytes(data[22 + 14:22 + 16], "little") == 8  # 256 colours by default
    assert dominant(colour_of(work_dir + "/x.Ico"), BLUE)

    page.save(work_dir + "/x.bmp")
    assert subprocess.run(["identify", "-format", "%w %h", work_dir + "/x.bmp"], capture_output=True,
                          text=True, check=True).stdout == "32 32"
    assert pixel(work_dir + "/x.bmp", 0, 0) == (255, 255, 255)  # transparent outside the disc
    assert near(pixel(work_dir + "/x.bmp", 16, 16), BLUE)

    page.save(work_dir + "/x.jpg")
    ppm = subprocess.run(["djpeg", "-pnm", work_dir + "/x.jpg"], capture_output=True, check=True).stdout
    assert ppm.startswith(b"P6\n32 32\n")
    assert near(colour_of(work_dir + "/x.jpg"), BLUE, 24)

    page.save(work_dir + "/x.gif")
    assert b"Screen Size - Width = 32, Height = 32" in subprocess.run(
        ["giftext", work_dir + "/x.gif"], capture_output=True, check=True).stdout
    assert dominant(colour_of(work_dir + "/x.gif"), BLUE)  # reduced to the GIF palette
    assert pixel(work_dir + "/x.gif", 0, 0) == (255, 255, 255)

    # PNG keeps the icon's transparency as alpha.
    page.save(work_dir + "/x.png")
    subprocess.run(["pngcheck", "-q", work_dir + "/x.png"], check=True)
    assert png_pixel(work_dir + "/x.png", 0, 0)[3] == 0
    assert png_pixel(work_dir + "/x.png", 16, 16)[3] == 255
    assert near(png_pixel(work_dir + "/x.png", 16, 16)[:3], BLUE)
    assert tervane.close_and_wait() == 0


def test_true_colour_icon_and_overwrite_question(driver, tervane, fixtures_dir, work_dir):
    page = IconPage(driver, tervane)
    page.open(fixtures_dir + "/iconsource/IconSource.dll", index=1)
    driver.click_window(driver.wait_child(page.page, "TRadioButton", text="保存为真彩色图标"))
    page.save(work_dir + "/t.ico")
    data = open(work_dir + "/t.ico", "rb").read()
    assert int.from_bytes(data[22 + 14:22 + 16], "little") == 16
    assert near(true_colour_icon_pixel(work_dir + "/t.ico", 12, 20), GREEN, 8)
    # An existing file: Cancel keeps it and clears the status line.
    page.click("保存")
    driver.answer_file_dialog(work_dir + "/t.ico", tervane.pid)
    box = page.message_box()
    assert box.text == "要保存的文件已经存在,是否覆盖?" and box.buttons == ["确定", "取消"]
    driver.press_button(box.window, "取消")
    wait_closed(driver, box.window)
    assert page.text(page.status_edit) == ""
    assert open(work_dir + "/t.ico", "rb").read() == data
    # An extension the page does not write is refused before anything is asked or written.
    page.click("保存")
    driver.answer_file_dialog(work_dir + "/t.tif", tervane.pid)
    box = page.message_box()
    assert ".ico" in box.text and ".gif" in box.text and ".png" in box.text
    driver.press_button(box.window, "确定")
    assert not os.path.exists(work_dir + "/t.tif")
    assert tervane.close_and_wait() == 0


def preview_colour(driver, page):
    """What the display shows in the middle of the page's 32x32 icon preview (Image1 at 104, 80)."""
    sheet = driver.info(page.page)
    return screen_colour(sheet.client_x + 104 + 12, sheet.client_y + 80 + 20)


def test_cancelled_picker_keeps_the_previous_file_and_page_switch_keeps_the_index(driver, tervane, fixtures_dir,
                                                                                work_dir):
    page = IconPage(driver, tervane)
    dll = fixtures_dir + "/iconsource/IconSource.dll"
    page.open(dll, index=1)
    page.start_open(fixtures_dir + "/iconsource/red.ico")
    picker = page.picker()
    driver.focus(picker)
    driver.key("Escape")
    wait_closed(driver, picker)
    assert page.text(page.path_edit).endswith("IconSource.dll")
    wait_until(lambda: near(preview_colour(driver, page), GREEN), 10, "the green icon in the preview")
    # Another page and back: the texts and the preview go, the remembered icon stays.
    driver.focus(tervane.window)
    driver.key("ctrl+c")  # the conversion page
    wait_until(lambda: not driver.info(page.page).visible, 10, "the conversion page")
    driver.key("ctrl+g")
    wait_until(lambda: page.text(page.path_edit) == "", 10, "the path box emptied")
    wait_until(lambda: not near(preview_colour(driver, page), GREEN), 10, "the preview emptied")
    page.click("向前")  # 1 -> 2 of the remembered file
    wait_until(lambda: near(preview_colour(driver, page), BLUE), 10, "the blue icon in the preview")
    driver.screenshot("icon_page_after_switch", tervane.window)
    page.click("保存")  # nothing: no file opened since the page was shown
    assert driver.find_windows("#32770", pid=tervane.pid, visible=True) == []
    assert tervane.close_and_wait() == 0


def test_file_without_icons_and_a_name_that_does_not_exist(driver, tervane, work_dir):
    page = IconPage(driver, tervane)
    open(work_dir + "/plain.txt", "w").write("no icons here")
    page.open(work_dir + "/plain.txt")
    page.click("向前")
    page.click("保存")
    driver.answer_file_dialog(work_dir + "/none.ico", tervane.pid)
    box = page.message_box()
    assert box.text == "文件中不含有图标,请重新选择含有图标的文件"
    driver.press_button(box.window, "确定")
    assert not os.path.exists(work_dir + "/none.ico")
    page.start_open(work_dir + "/missing.exe")
    box = page.message_box()
    assert box.text.startswith("你所选择的文件名不存在,请重新选择.")
    driver.press_button(box.window, "确定")
    assert page.text(page.path_edit).endswith("plain.txt")
    assert tervane.close_and_wait() == 0


def answer_confirm(driver, tervane, caption):
    dialog = driver.wait_window("TMessageForm", CONFIRM_CAPTION, pid=tervane.pid)
    driver.screenshot("save_all_question", dialog)
    driver.click_window(driver.wait_child(dialog, text=caption))
    wait_closed(driver, dialog)


def test_save_all_into_a_new_folder_then_no_to_all_then_no_and_yes(driver, tervane, fixtures_dir, work_dir):
    page = IconPage(driver, tervane)
    page.open(fixtures_dir + "/iconsource/IconSource.dll")
    target = work_dir + "/allicons"
    page.click("全部保存")
    driver.answer_folder_dialog(work_dir, tervane.pid)
    box = page.message_box()
    assert box.text == "目录" + "Z:" + target.replace("/", "\\") + "不存在,是否创建?"
    driver.press_button(box.window, "确定")
    status = page.wait_status(lambda t: t.startswith("全部图标已保存到"))
    assert status == "全部图标已保存到Z:" + target.replace("/", "\\")
    assert sorted(os.listdir(target)) == ["0.ico", "1.ico", "2.ico"]
    for name, colour in zip(["0.ico", "1.ico", "2.ico"], [RED, GREEN, BLUE]):
        assert dominant(colour_of(target + "/" + name), colour)

    os.remove(target + "/2.ico")
    page.click("全部保存")
    driver.answer_folder_dialog(work_dir, tervane.pid)
    answer_confirm(driver, tervane, "全否")
    assert page.wait_status(lambda t: t != "" and not t.startswith("正在")) == "您没有保存任何图标"
    assert not os.path.exists(target + "/2.ico")  # skipped although it did not exist

    open(target + "/0.ico", "wb").write(b"old")
    open(target + "/1.ico", "wb").write(b"old")
    page.click("全部保存")
    driver.answer_folder_dialog(work_dir, tervane.pid)
    answer_confirm(driver, tervane, "否")
    answer_confirm(driver, tervane, "是")
    page.wait_status(lambda t: t.startswith("全部图标已保存到"))
    assert open(target + "/0.ico", "rb").read() == b"old"
    assert dominant(colour_of(target + "/1.ico"), GREEN)
    assert dominant(colour_of(target + "/2.ico"), BLUE)  # written without a question
    assert tervane.close_and_wait() == 0


def test_save_all_cancel_unmakeable_folder_yes_to_all_and_replacing_one_file(driver, tervane, fixtures_dir,
                                                                            work_dir):
    page = IconPage(driver, tervane)
    page.open(fixtures_dir + "/iconsource/IconSource.dll")
    target = work_dir + "/allicons"
    question = "目录" + "Z:" + target.replace("/", "\\") + "不存在,是否创建?"
    # Cancel on the folder question: nothing made, nothing said.
    page.click("全部保存")
    driver.answer_folder_dialog(work_dir, tervane.pid)
    box = page.message_box()
    assert box.text == question
    driver.press_button(box.window, "取消")
    wait_closed(driver, box.window)
    assert not os.path.exists(target) and page.text(page.status_edit) == ""
    # A file in the folder's place: the folder cannot be made, and the run-time error says so.
    open(target, "wb").write(b"a file")
    page.click("全部保存")
    driver.answer_folder_dialog(work_dir, tervane.pid)
    box = page.message_box()
    assert box.text == question
    driver.press_button(box.window, "确定")
    error = driver.wait_message_box(tervane.pid, "Quorlin图片处理Tervane")
    assert error.text == "I/O error 183." and error.buttons == ["确定"]  # ERROR_ALREADY_EXISTS
    driver.press_button(error.window, "确定")
    wait_closed(driver, error.window)
    assert open(target, "rb").read() == b"a file"
    # "全是" on the first existing file writes every one without another question.
    os.remove(target)
    os.mkdir(target)
    for name in ("0.ico", "1.ico", "2.ico"):
        open(target + "/" + name, "wb").write(b"old")
    page.click("全部保存")
    driver.answer_folder_dialog(work_dir, tervane.pid)
    answer_confirm(driver, tervane, "全是")
    page.wait_status(lambda t: t.startswith("全部图标已保存到"))
    assert driver.find_windows("TMessageForm", pid=tervane.pid, visible=True) == []
    for name, colour in zip(["0.ico", "1.ico", "2.ico"], [RED, GREEN, BLUE]):
        assert dominant(colour_of(target + "/" + name), colour), name
    # OK on the question about an existing file replaces it.
    page.click("保存")
    driver.answer_file_dialog(target + "/0.ico", tervane.pid)
    box = page.message_box()
    assert box.text == "要保存的文件已经存在,是否覆盖?"
    driver.press_button(box.window, "确定")
    page.wait_status(lambda t: t.startswith("图标已保存为"))
    assert dominant(colour_of(target + "/0.ico"), RED)  # the current icon, index 0
    assert tervane.close_and_wait() == 0


def test_save_all_into_a_drive_root_names_the_folder_without_a_doubled_separator(driver, tervane, fixtures_dir):
    drive_c = os.path.join(os.environ["WINEPREFIX"], "drive_c")
    target = os.path.join(drive_c, "allicons")
    shutil.rmtree(target, ignore_errors=True)
    try:
        page = IconPage(driver, tervane)
        page.open(fixtures_dir + "/iconsource/IconSource.dll")
        page.click("全部保存")
        driver.answer_folder_dialog("C:\\", tervane.pid)
        box = page.message_box()
        assert box.text == "目录C:\\allicons不存在,是否创建?"
        driver.press_button(box.window, "确定")
        assert page.wait_status(lambda t: t.startswith("全部图标已保存到")) == "全部图标已保存到C:\\allicons"
        assert sorted(os.listdir(target)) == ["0.ico", "1.ico", "2.ico"]
        assert dominant(colour_of(os.path.join(target, "0.ico")), RED)
    finally:
        shutil.rmtree(target, ignore_errors=True)


def test_saving_all_icons_shows_the_wait_text_while_it_runs(xwatch, driver, tervane, work_dir):
    page = IconPage(driver, tervane)
    page.open("C:\\windows\\system32\\shell32.dll")  # a few hundred icons: a save that lasts
    page.click("全部保存")
    driver.answer_folder_dialog(work_dir, tervane.pid)
    box = page.message_box()
    status = driver.info(page.status_edit)
    watcher = watch(xwatch, status, 120)
    try:
        driver.press_button(box.window, "确定")
        page.wait_status(lambda t: t.startswith("全部图标已保存到"))
        seen = stop(watcher)
    finally:
        watcher.kill()
    assert len(os.listdir(work_dir + "/allicons")) > 100, "a save that lasts"
    driver.set_text(page.status_edit, "正在保存图标,请稍等...")
    look = watch_text_look(xwatch, status, work_dir)
    busy_cursors, later_cursors = shown_while_busy(seen, look)
    # The hourglass meanwhile: another cursor than the one before and after the save.
    assert any(cursor not in (seen[0][1], later_cursors[-1]) for cursor in busy_cursors), seen
