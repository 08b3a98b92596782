"""Driving the picture conversion page as a user does, and reading what it writes with
ImageMagick and by the bytes of its icons. Shared by the conversion page's tests."""

import os
import struct
import subprocess
import time

from tervane_driver import wait_until

CONVERT_PAGE = "图片转换"
SAVED = "图片已保存为"
WAIT_TEXT = "正在保存文件,请稍等..."


def magick(*arguments):
    subprocess.run(["convert", *arguments], check=True, timeout=60)


def size_of(path):
    out = subprocess.run(["identify", "-format", "%w %h\n", path], check=True, capture_output=True, text=True,
                         timeout=60).stdout.split("\n")[0]
    return tuple(int(v) for v in out.split())


def pixel(path, x, y):
    return pixel_with_alpha(path, x, y)[:3]


def pixel_with_alpha(path, x, y):
    """(red, green, blue, alpha) of the first image in the file, 0-255 each."""
    channels = ",".join(f"%[fx:int(255*p{{{x},{y}}}.{c}+0.5)]" for c in "rgba")
    out = subprocess.run(["convert", path + "[0]", "-alpha", "set", "-format", channels, "info:"],
                         check=True, capture_output=True, text=True, timeout=60).stdout
    return tuple(int(v) for v in out.split(","))


def icon_entry(path):
    """(count, width, height, bits per pixel) from the .ico file's directory and image header."""
    data = open(path, "rb").read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind) == (0, 1)
    width, height = data[6], data[7]
    offset = struct.unpack_from("<I", data, 18)[0]
    header_width, header_height, planes, bits = struct.unpack_from("<iiHH", data, offset + 4)
    assert (header_width, header_height) == (width or 256, 2 * (height or 256))
    return count, width, height, bits


class Page:
    def __init__(self, driver, tervane):
        self.driver, self.tervane = driver, tervane
        driver.focus(tervane.window)
        driver.key("ctrl+c")
        self.sheet = driver.wait_child(tervane.window, "TTabSheet", text=CONVERT_PAGE, visible=True)

    def edit(self, top):
        edits = self.driver.find_children(self.sheet, "TEdit")
        return [e for e in edits if e.top - self.sheet.client_y == top][0]

    def source_text(self):
        return self.driver.info(self.edit(25)).text

    def status(self):
        return self.driver.info(self.edit(227)).text

    def choose_source(self, path):
        self.driver.click_window(self.driver.wait_child(self.sheet, "TBitBtn", text="原文件"))
        self.driver.answer_file_dialog(path, self.tervane.pid)
        # A message the program answers only once the choice is handled: the picture is loaded.
        self.driver.send(self.tervane.window, 0)  # WM_NULL

    def open_dialog(self):
        """Presses "原文件" and waits for the open dialog's folder view; returns the dialog."""
        self.driver.click_window(self.driver.wait_child(self.sheet, "TBitBtn", text="原文件"))
        return self.driver.wait_file_dialog(self.tervane.pid)

    def convert_to(self, path):
        self.driver.click_window(self.driver.wait_child(self.sheet, "TBitBtn", text="生成文件"))
        self.driver.answer_file_dialog(path, self.tervane.pid)

    def save_dialog_types(self):
        """Opens the save dialog, reads its file types and cancels it: (chosen index, [types])."""
        self.driver.click_window(self.driver.wait_child(self.sheet, "TBitBtn", text="生成文件"))
        dialog = self.driver.wait_file_dialog(self.tervane.pid)
        types = self.driver.file_type_choice(dialog)
        self.driver.press_button(dialog, control_id=2)  # Cancel
        wait_until(lambda: self.driver.info(dialog) is None, 15, "the dialog closed")
        return types

    def wait_saved(self, path, timeout=60):
        wait_until(lambda: self.status().startswith(SAVED), timeout, "the saved status")
        assert self.status().endswith(os.path.basename(path))


def screen_colour(x, y):
    """The (red, green, blue) the display shows at a screen point."""
    out = subprocess.run(["import", "-silent", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8",
                          "-format", "%[fx:int(255*r+0.5)],%[fx:int(255*g+0.5)],%[fx:int(255*b+0.5)]", "info:"],
                         check=True, capture_output=True, text=True, timeout=30).stdout
    return tuple(int(v) for v in out.split(","))


def colours_seen(x, y, seconds):
    """Every distinct colour the display showed at a point while sampling it for some seconds."""
    seen = set()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        seen.add(screen_colour(x, y))
    return seen
