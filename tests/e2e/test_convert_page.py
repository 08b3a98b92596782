"""The picture conversion page driven as a user does: choosing a source, the preview and the
preview window, the conversions checked with ImageMagick and by the bytes of the icons, the
questions and messages, and the page returning to its start when it is shown again."""

import os
import re
import struct
import subprocess

import pytest

from conftest import MAIN_CAPTION
from convert_page_driver import Page, colours_seen, icon_entry, magick, pixel, size_of
from tervane_driver import DriverError, wait_until


@pytest.fixture
def page(driver, tervane):
    return Page(driver, tervane)


def test_bitmaps_reach_the_icon_writer_fitted_but_never_enlarged(page, work_dir):
    small, wide = work_dir + "/small.bmp", work_dir + "/wide.bmp"
    # The bottom-left pixel gives the icon's transparent colour, so it differs from the rest.
    magick("-size", "20x20", "xc:rgb(200,40,40)", "-fill", "white", "-draw", "point 0,19", "-type", "TrueColor",
           "BMP3:" + small)
    magick("-size", "40x10", "xc:rgb(40,200,40)", "-fill", "white", "-draw", "point 0,9", "-type", "TrueColor",
           "BMP3:" + wide)
    page.choose_source(small)
    assert page.source_text().endswith("small.bmp")
    page.convert_to(work_dir + "/small.ico")
    page.wait_saved(work_dir + "/small.ico")
    # The writer makes an icon of the system size from the bitmap's top-left part: the 20x20
    # picture arrives unscaled, so its colour ends at pixel 20.
    assert icon_entry(work_dir + "/small.ico") == (1, 32, 32, 8)
    r, g, b = pixel(work_dir + "/small.ico", 10, 10)
    assert r > g + 100 and r > b + 100
    assert pixel(work_dir + "/small.ico", 26, 26) != (r, g, b)
    page.choose_source(wide)
    assert page.status() == ""
    page.convert_to(work_dir + "/wide.ico")
    page.wait_saved(work_dir + "/wide.ico")
    assert icon_entry(work_dir + "/wide.ico") == (1, 32, 32, 8)
    # Stretched over the whole icon: the colour fills rows the 10-pixel picture never had.
    for x, y in ((16, 16), (30, 2), (30, 28)):
        r, g, b = pixel(work_dir + "/wide.ico", x, y)
        assert g > r + 100 and g > b + 100, (x, y)


def test_jpeg_sources_stretch_up_to_icons_and_draw_into_bitmaps(page, work_dir):
    source = work_dir + "/tiny.jpeg"
    magick("-size", "10x10", "xc:rgb(30,60,220)", "-quality", "95", source)
    page.choose_source(source)
    page.driver.click_window(page.driver.find_children(page.sheet, "TRadioButton", text="保存为真彩色图标")[0])
    page.convert_to(work_dir + "/tiny.ico")
    page.wait_saved(work_dir + "/tiny.ico")
    assert icon_entry(work_dir + "/tiny.ico") == (1, 32, 32, 16)
    page.convert_to(work_dir + "/tiny.bmp")
    page.wait_saved(work_dir + "/tiny.bmp")
    assert size_of(work_dir + "/tiny.bmp") == (10, 10)
    r, g, b = pixel(work_dir + "/tiny.bmp", 5, 5)
    assert abs(r - 30) <= 8 and abs(g - 60) <= 8 and abs(b - 220) <= 8


def test_sixteen_pixel_icon_becomes_an_icon_sized_bitmap_and_a_jpeg(page, fixtures_dir, work_dir):
    # red.ico holds a 16x16 and a 32x32 image; make a file holding only the small one.
    source = work_dir + "/small16.ico"
    magick("-size", "16x16", "xc:rgb(208,48,48)", "-type", "TrueColor", source)
    page.choose_source(source)
    page.convert_to(work_dir + "/from_icon.bmp")
    page.wait_saved(work_dir + "/from_icon.bmp")
    assert size_of(work_dir + "/from_icon.bmp") == (32, 32)
    assert pixel(work_dir + "/from_icon.bmp", 3, 3) == (208, 48, 48)
    assert pixel(work_dir + "/from_icon.bmp", 24, 24) == (255, 255, 255)
    page.convert_to(work_dir + "/from_icon.jpg")
    page.wait_saved(work_dir + "/from_icon.jpg")
    assert size_of(work_dir + "/from_icon.jpg") == (32, 32)


def write_favicon_without_mask(path):
    """A 32 x 32 icon at 32 bits per pixel whose entry and data stop after the colour rows, as
    many tools write it: no mask, the alpha says what is transparent. Alpha is 0 or 255 only,
    so that a reader that draws through a mask and one that blends agree on every pixel."""
    rows = b""
    for y in reversed(range(32)):
        for x in range(32):
            clear = (x - 16) ** 2 + (y - 16) ** 2 > 14 ** 2 or (x // 4 + y // 4) % 5 == 0
            rows += bytes([255 - 4 * x, 8 * y, 8 * x, 0 if clear else 255])  # blue, green, red, alpha
    image = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 32, 0, 0, 0, 0, 0, 0) + rows
    entry = struct.pack("<BBBBHHII", 32, 32, 0, 0, 1, 32, len(image), 22)
    open(path, "wb").write(struct.pack("<HHH", 0, 1, 1) + entry + image)


def rgb_bytes(path):
    return subprocess.run(["convert", path, "-background", "white", "-flatten", "-alpha", "off", "-depth", "8",
                           "rgb:-"], check=True, capture_output=True, timeout=60).stdout


def test_icon_without_a_mask_converts_as_its_alpha_says(page, work_dir):
    source, target = work_dir + "/favicon.ico", work_dir + "/favicon.bmp"
    write_favicon_without_mask(source)
    page.choose_source(source)
    page.convert_to(target)
    page.wait_saved(target)
    assert size_of(target) == (32, 32)
    # ImageMagick reads the icon on its own; on white the two readings agree pixel for pixel.
    ours, theirs = rgb_bytes(target), rgb_bytes(source)
    assert len(ours) == len(theirs) == 32 * 32 * 3
    wrong = [(i // 3 % 32, i // 96) for i in range(0, len(ours), 3) if ours[i:i + 3] != theirs[i:i + 3]]
    assert not wrong, f"{len(wrong)} pixels differ, first at {wrong[0]}"


def test_a_target_outside_the_table_is_refused_with_a_message(page, work_dir):
    source = work_dir + "/a.bmp"
    magick("-size", "8x8", "xc:white", "BMP3:" + source)
    page.choose_source(source)
    page.convert_to(work_dir + "/again.bmp")
    box = page.driver.wait_message_box(page.tervane.pid, MAIN_CAPTION)
    assert "不能保存为这种格式" in box.text
    page.driver.press_button(box.window, "确定")
    wait_until(lambda: page.driver.info(box.window) is None, 10, "the message closed")
    assert page.status() == ""
    assert not os.path.exists(work_dir + "/again.bmp")


def test_existing_target_question_defaults_to_cancel(page, work_dir):
    source, target = work_dir + "/b.bmp", work_dir + "/b.jpg"
    magick("-size", "8x8", "xc:white", "BMP3:" + source)
    open(target, "wb").write(b"keep me")
    page.choose_source(source)
    page.convert_to(target)
    box = page.driver.wait_message_box(page.tervane.pid, MAIN_CAPTION)
    assert box.text == "要保存的文件已经存在,是否覆盖?"
    page.driver.screenshot("overwrite_question", box.window)
    page.driver.focus(box.window)
    page.driver.key("Return")
    wait_until(lambda: page.driver.info(box.window) is None, 10, "the question closed")
    assert open(target, "rb").read() == b"keep me"
    assert page.status() == ""


def test_showing_the_page_again_resets_it_and_convert_does_nothing(page, driver, tervane, work_dir):
    source = work_dir + "/c.bmp"
    magick("-size", "30x20", "gradient:red-blue", "-type", "TrueColor", "BMP3:" + source)
    page.choose_source(source)
    driver.screenshot("convert_page_stretched_preview", tervane.window)
    driver.focus(tervane.window)
    driver.key("ctrl+a")
    wait_until(lambda: not driver.info(page.sheet).visible, 10, "another page shown")
    driver.key("ctrl+c")
    wait_until(lambda: page.source_text() == "", 10, "the source cleared")
    track = driver.find_children(page.sheet, "TTrackBar")[0]
    assert driver.send(track, 0x0400) == 65
    driver.click_window(driver.wait_child(page.sheet, "TBitBtn", text="生成文件"))
    with pytest.raises(DriverError, match="^timed out"):
        driver.wait_dialog(tervane.pid, timeout=2)


def test_preview_window_opens_from_the_preview_and_closes_on_a_click(page, driver, tervane, work_dir):
    source = work_dir + "/d.bmp"
    magick("-size", "60x40", "gradient:yellow-green", "-type", "TrueColor", "BMP3:" + source)
    page.choose_source(source)
    driver.click_window(page.sheet, 88 + 40, 64 + 40)
    preview = driver.wait_window("TForm2", pid=tervane.pid, visible=True)
    info = driver.info(preview)
    assert info.text == "Quorlin图片处理Tervane---图片预览--Quorlin电脑工作室"
    # Made 520 × 425 under the system's tool-window frame; the skin's frame keeps that client area.
    SM_CYSMCAPTION, SM_CXFIXEDFRAME, SM_CYFIXEDFRAME = 51, 7, 8
    frame_x, frame_y = driver.system_metric(SM_CXFIXEDFRAME), driver.system_metric(SM_CYFIXEDFRAME)
    caption = driver.system_metric(SM_CYSMCAPTION)
    assert (info.client_width, info.client_height) == (520 - 2 * frame_x, 425 - caption - 2 * frame_y)
    assert not driver.info(tervane.window).enabled, "the preview window is modal"
    driver.screenshot("preview_window", preview)
    driver.click_window(preview, 200, 200)
    wait_until(lambda: not driver.info(preview) or not driver.info(preview).visible, 10, "the preview hidden")
    assert driver.info(preview) is not None, "the preview window is hidden, not destroyed"
    wait_until(lambda: driver.info(tervane.window).enabled, 10, "the main window usable again")


def gif_file(path, frame=b""):
    """A 4x2 GIF with a two-colour global table (red, blue) and the given frame bytes."""
    open(path, "wb").write(b"GIF89a" + bytes([4, 0, 2, 0, 0x80, 0, 0]) + bytes([255, 0, 0, 0, 0, 255]) + frame +
                           b"\x3b")


def test_gifs_the_writer_would_refuse_open_in_the_preview_window(page, driver, tervane, work_dir):
    # No frames at all, and a frame whose every index (3) lies past its two colours: the preview
    # window gets a copy of the picture, which must not go through the writer.
    beyond = bytes([0x2C, 0, 0, 0, 0, 4, 0, 2, 0, 0, 2, 5, 0xDC, 0x36, 0x33, 0x33, 0x05, 0])  # 8 x index 3
    for name, frame in (("frameless.gif", b""), ("beyond.gif", beyond)):
        gif_file(work_dir + "/" + name, frame)
        page.choose_source(work_dir + "/" + name)
        driver.click_window(page.sheet, 88 + 44, 64 + 44)
        preview = driver.wait_window("TForm2", pid=tervane.pid, visible=True)
        assert not driver.find_windows("#32770", pid=tervane.pid, visible=True), name
        driver.screenshot("preview_window_" + name[:-4], preview)
        driver.click_window(preview, 200, 200)
        wait_until(lambda: not driver.info(preview).visible, 10, "the preview hidden")


def test_damaged_source_reaches_the_error_display(page, driver, tervane, work_dir):
    source = work_dir + "/broken.gif"
    open(source, "wb").write(b"GIF89a\x10\x00")
    page.choose_source(source)
    box = driver.wait_message_box(tervane.pid)
    # The reader's own words, with the full stop the error display adds, under the program's title.
    assert box.text == "Premature end of data."
    assert driver.info(box.window).text == "Quorlin图片处理Tervane"
    driver.press_button(box.window, "确定")
    assert page.source_text().endswith("broken.gif")


def test_gif_sources_and_targets(page, work_dir):
    # A 40x30 screen whose only frame is 10x10 at (5, 5): the bitmap is of the screen's size.
    source = work_dir + "/framed.gif"
    magick("-size", "10x10", "xc:rgb(0,0,255)", "-page", "40x30+5+5", "-background", "red", source)
    page.choose_source(source)
    page.convert_to(work_dir + "/framed.bmp")
    page.wait_saved(work_dir + "/framed.bmp")
    assert size_of(work_dir + "/framed.bmp") == (40, 30)
    assert pixel(work_dir + "/framed.bmp", 8, 8) == (0, 0, 255)
    page.convert_to(work_dir + "/framed.ico")
    page.wait_saved(work_dir + "/framed.ico")
    assert icon_entry(work_dir + "/framed.ico")[:3] == (1, 32, 32)
    page.convert_to(work_dir + "/framed.jpg")
    page.wait_saved(work_dir + "/framed.jpg")
    assert size_of(work_dir + "/framed.jpg") == (40, 30)


def test_jpeg_to_gif_and_quality_zero_equals_one(page, driver, work_dir):
    source = work_dir + "/photo.jpg"
    magick("-size", "64x48", "gradient:orange-navy", source)
    page.choose_source(source)
    page.convert_to(work_dir + "/photo.gif")
    page.wait_saved(work_dir + "/photo.gif")
    assert size_of(work_dir + "/photo.gif") == (64, 48)
    bitmap = work_dir + "/photo_b.bmp"
    magick(source, "-type", "TrueColor", "BMP3:" + bitmap)
    page.choose_source(bitmap)
    track = driver.find_children(page.sheet, "TTrackBar")[0]
    # Real keys, as a user moves the slider: Home to 0, then one step right to 1.
    for key, position, name in (("Home", 0, "q0.jpg"), ("Right", 1, "q1.jpg")):
        driver.click_window(track, 2, 8)
        driver.key(key)
        wait_until(lambda: driver.send(track, 0x0400) == position, 5, "the slider moved")
        page.convert_to(work_dir + "/" + name)
        page.wait_saved(work_dir + "/" + name)
    quality = subprocess.run(["identify", "-format", "%Q", work_dir + "/q0.jpg"], check=True, capture_output=True,
                             text=True, timeout=60).stdout
    assert int(quality) <= 2
    assert open(work_dir + "/q0.jpg", "rb").read() == open(work_dir + "/q1.jpg", "rb").read()


def test_animated_gif_plays_in_the_preview_and_in_the_preview_window(page, driver, tervane, work_dir):
    source = work_dir + "/blink.gif"
    magick("-delay", "15", "-size", "60x40", "xc:rgb(255,0,0)", "xc:rgb(0,0,255)", "-loop", "0", source)
    page.choose_source(source)
    red, blue = (255, 0, 0), (0, 0, 255)
    seen = colours_seen(page.sheet.client_x + 88 + 44, page.sheet.client_y + 64 + 44, 3)
    assert {red, blue} <= seen, seen
    driver.click_window(page.sheet, 88 + 44, 64 + 44)
    preview = driver.info(driver.wait_window("TForm2", pid=tervane.pid, visible=True))
    seen = colours_seen(preview.client_x + preview.client_width // 2, preview.client_y + preview.client_height // 2, 3)
    assert {red, blue} <= seen, seen
    driver.screenshot("preview_window_animated", preview)
    driver.click_window(preview, 200, 200)
    wait_until(lambda: not driver.info(preview).visible, 10, "the preview hidden")
    # The page's own preview goes on playing after the window closes.
    seen = colours_seen(page.sheet.client_x + 88 + 44, page.sheet.client_y + 64 + 44, 2)
    assert {red, blue} <= seen, seen


def bogus_huffman_table(data):
    """The JPEG with its first Huffman table claiming three 1-bit codes: the header still reads,
    the decoder refuses the table when it starts."""
    at = data.index(b"\xff\xc4") + 5
    counts = bytearray(data[at:at + 16])
    largest = max(range(16), key=lambda i: counts[i])
    assert counts[largest] >= 3 and largest != 0
    counts[largest] -= 3 - counts[0]
    counts[0] = 3
    return data[:at] + bytes(counts) + data[at + 16:]


def test_damaged_jpeg_reports_when_drawn_and_when_converted_and_writes_nothing(page, driver, tervane, work_dir):
    # The header is read on loading; the broken table only shows when the preview is drawn.
    source, target = work_dir + "/broken.jpg", work_dir + "/broken.bmp"
    magick("-size", "400x300", "plasma:", "-quality", "90", source)
    damaged = bogus_huffman_table(open(source, "rb").read())
    open(source, "wb").write(damaged)
    page.choose_source(source)
    box = driver.wait_message_box(tervane.pid)
    assert box.text == "JPEG error #8."
    driver.press_button(box.window, "确定")
    wait_until(lambda: driver.info(box.window) is None, 10, "the message closed")
    # The preview does not raise the error again on every paint.
    with pytest.raises(DriverError, match="^timed out"):
        driver.wait_message_box(tervane.pid, timeout=2)
    page.convert_to(target)
    box = driver.wait_message_box(tervane.pid)
    assert box.text == "JPEG error #8."
    driver.press_button(box.window, "确定")
    wait_until(lambda: driver.info(box.window) is None, 10, "the message closed")
    assert page.status() == "", "the wait text is gone: nothing is being saved"
    assert not os.path.exists(target)
    assert sorted(os.listdir(work_dir)) == ["broken.jpg"], "no half-written or temporary file is left"


def shown_hint(driver, tervane):
    hints = [driver.info(w) for w in driver.find_windows("TIconHintX", pid=tervane.pid)]
    return next((h.text for h in hints if h and h.visible), None)


def test_quality_slider_hint_follows_its_position(page, driver, tervane):
    track = driver.find_children(page.sheet, "TTrackBar")[0]
    driver.mouse_move(track.left + 20, track.top + 8)
    wait_until(lambda: shown_hint(driver, tervane) == "JPEG图片的当前质量:65/100", 10, "the quality hint")
    driver.click_window(track, 2, 8)
    driver.key("End")
    wait_until(lambda: driver.send(track, 0x0400) == 100, 5, "the slider at 100")
    # The hint shows again once the mouse leaves the slider and comes back.
    driver.mouse_move(track.left - 40, track.top - 40)
    wait_until(lambda: shown_hint(driver, tervane) is None, 10, "the hint gone")
    driver.mouse_move(track.left + 30, track.top + 8)
    wait_until(lambda: shown_hint(driver, tervane) == "JPEG图片的当前质量:100/100", 10, "the new quality hint")
    driver.screenshot("quality_hint")



def test_open_dialog_keeps_the_file_type_chosen_last_until_the_icon_page_resets_it(page, driver, tervane, work_dir):
    source = work_dir + "/e.gif"
    magick("-size", "8x8", "xc:red", source)
    dialog = page.open_dialog()
    assert driver.file_type_choice(dialog)[0] == 0
    types = [c for c in driver.children(dialog) if c.class_name == "ComboBox" and c.id == 0x470][0]
    driver.click_window(types)
    driver.key("Down", "Down", "Down", "Return")
    wait_until(lambda: driver.file_type_choice(dialog)[0] == 3, 10, "GIF chosen as the file type")
    driver.answer_file_dialog(source, tervane.pid)
    wait_until(lambda: page.source_text().endswith("e.gif"), 10, "the source chosen")
    dialog = page.open_dialog()
    assert driver.file_type_choice(dialog) == (3, ["ICO file(*.ico)", "BMP file(*.bmp)", "JPEG file(*.jpg;*.jpeg)",
                                                   "GIF file(*.gif)", "PNG file(*.png)",
                                                   "ALL files(*.ico;*.bmp;*.jpg;*.jpeg;*.gif;*.png)"])
    driver.press_button(dialog, control_id=2)
    wait_until(lambda: driver.info(dialog) is None, 10, "the dialog closed")
    # The icon page's own dialog starts at its first file type, and so leaves the shared one.
    driver.focus(tervane.window)
    driver.key("ctrl+g")
    icon_page = driver.wait_child(tervane.window, "TTabSheet", text="图标提取", visible=True)
    driver.click_window(driver.wait_child(icon_page, "TBitBtn", text=re.compile("打开")))
    dialog = driver.wait_file_dialog(tervane.pid)
    driver.press_button(dialog, control_id=2)
    wait_until(lambda: driver.info(dialog) is None, 10, "the dialog closed")
    page = Page(driver, tervane)
    dialog = page.open_dialog()
    assert driver.file_type_choice(dialog)[0] == 0
    driver.press_button(dialog, control_id=2)


def test_a_source_gone_before_converting_reaches_the_error_display(page, driver, tervane, work_dir):
    source, target = work_dir + "/gone.bmp", work_dir + "/gone.gif"
    magick("-size", "8x8", "xc:white", "BMP3:" + source)
    page.choose_source(source)
    os.remove(source)
    page.convert_to(target)
    box = driver.wait_message_box(tervane.pid)
    assert box.text.startswith('Cannot open file "Z:') and 'gone.bmp". ' in box.text, box.text
    driver.press_button(box.window, "确定")
    wait_until(lambda: driver.info(box.window) is None, 10, "the message closed")
    assert not os.path.exists(target)


def test_a_missing_source_name_is_refused_and_the_last_source_stays(page, driver, tervane, work_dir):
    source = work_dir + "/kept.bmp"
    magick("-size", "8x8", "xc:white", "BMP3:" + source)
    page.choose_source(source)
    page.convert_to(work_dir + "/kept.jpg")
    page.wait_saved(work_dir + "/kept.jpg")
    page.choose_source(work_dir + "/missing.gif")
    box = driver.wait_message_box(tervane.pid, MAIN_CAPTION)
    assert box.text == "你所选择的文件名不存在,请重新选择. 为确保文件存在,请用鼠标选择文件,不要直接输入文件名."
    driver.press_button(box.window, "确定")
    wait_until(lambda: driver.info(box.window) is None, 10, "the message closed")
    assert page.source_text().endswith("kept.bmp")
    assert page.status() == "", "the status line is cleared by a new choice"
    page.convert_to(work_dir + "/kept.gif")
    page.wait_saved(work_dir + "/kept.gif")
