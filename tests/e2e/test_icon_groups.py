"""The whole icon beside the system's one: the preview's hint names the sizes the current icon
holds, and the save dialog's "all sizes" entry writes its whole group as the source stores it
(the 256-pixel PNG image included), byte for byte what wrestool extracts; the first entry still
writes the one 32 x 32 image through the icon writer. The same from an NE icon library."""

import os
import subprocess

from tervane_driver import wait_until
from test_icon_page import IconPage

FILE_TYPES = 0x470  # the save dialog's file type list


def shown_hint(driver, tervane):
    hints = [driver.info(w) for w in driver.find_windows("TIconHintX", pid=tervane.pid)]
    return next((h.text for h in hints if h and h.visible), None)


def preview_hint(driver, tervane, page):
    """Leaves the preview and comes back over it, so that its hint shows anew."""
    driver.mouse_move(page.page.client_x + 20, page.page.client_y + 150)
    driver.mouse_move(page.page.client_x + 104 + 12, page.page.client_y + 80 + 12)
    return wait_until(lambda: shown_hint(driver, tervane), 10, "the preview's hint")


def save_all_sizes(driver, tervane, page, path):
    page.click("保存")
    dialog = driver.fill_file_dialog(path, tervane.pid)
    types = next(c for c in driver.children(dialog) if c.class_name == "ComboBox" and c.id == FILE_TYPES)
    driver.click_window(types)
    driver.key("Down", "Down", "Down", "Down", "Return")
    wait_until(lambda: driver.file_type_choice(dialog)[0] == 4, 10, "the all sizes entry chosen")
    assert driver.file_type_choice(dialog)[1][4:] == ["ICO file, all sizes(*.ico)", "PNG file(*.png)"]
    driver.answer_file_dialog(path, tervane.pid)
    page.wait_status(lambda t: t.startswith("图标已保存为"))
    return open(path, "rb").read()


def image_extent(ico):
    """Where the last image an .ico directory describes ends."""
    count = int.from_bytes(ico[4:6], "little")
    entries = [ico[6 + 16 * i:22 + 16 * i] for i in range(count)]
    return max(int.from_bytes(e[8:12], "little") + int.from_bytes(e[12:16], "little") for e in entries)


def test_all_sizes_of_a_program_icon_with_a_png_image(driver, tervane, fixtures_dir, work_dir):
    source = fixtures_dir + "/iconsource/IconSourceWhole.exe"
    page = IconPage(driver, tervane)
    page.open(source, index=0)
    assert preview_hint(driver, tervane, page) == "图标预览 (16, 32, 48, 256 像素)"
    driver.screenshot("icon_groups_hint")

    whole = save_all_sizes(driver, tervane, page, work_dir + "/whole.ico")
    extracted = subprocess.run(["wrestool", "-x", "-t14", "-n1", source], capture_output=True, check=True).stdout
    # wrestool leaves stray bytes after the last image; what its directory describes must match.
    assert len(whole) == image_extent(extracted) and extracted[:len(whole)] == whole
    listing = subprocess.run(["icotool", "-l", work_dir + "/whole.ico"], capture_output=True, text=True,
                             check=True).stdout
    assert [line.split()[2] for line in listing.splitlines()] == ["--width=16", "--width=32", "--width=48",
                                                                    "--width=256"]
    last = whole[6 + 48:6 + 64]  # the fourth entry
    png = whole[int.from_bytes(last[12:16], "little"):][:int.from_bytes(last[8:12], "little")]
    assert png.startswith(b"\x89PNG") and subprocess.run(["pngcheck", "-q", "-"], input=png).returncode == 0
    # "PNG file" gives the largest image: the 256-pixel PNG image, copied as stored.
    page.save(work_dir + "/largest.png")
    assert open(work_dir + "/largest.png", "rb").read() == png

    # The first entry keeps writing the one 32 x 32 image, as "全部保存" writes it.
    page.save(work_dir + "/first.ico")
    page.click("全部保存")
    driver.answer_folder_dialog(work_dir, tervane.pid)
    driver.press_button(page.message_box().window, "确定")  # make the "allicons" folder
    page.wait_status(lambda t: t.startswith("全部图标已保存到"))
    first = open(work_dir + "/first.ico", "rb").read()
    assert first[4:8] == bytes([1, 0, 32, 32]) and first == open(work_dir + "/allicons/0.ico", "rb").read()

    page.click("向前")
    assert preview_hint(driver, tervane, page) == "图标预览 (32 像素)"
    page.click("向前")  # two icons: back to the first
    assert preview_hint(driver, tervane, page) == "图标预览 (16, 32, 48, 256 像素)"
    assert tervane.close_and_wait() == 0


def test_all_sizes_from_an_ne_icon_library(driver, tervane, fixtures_dir, work_dir):
    folder = fixtures_dir + "/iconsource"
    page = IconPage(driver, tervane)
    page.open(folder + "/library.icl", index=0)
    assert preview_hint(driver, tervane, page) == "图标预览 (16, 32 像素)"
    for index, name in enumerate(["red.ico", "green.ico", "blue.ico"]):
        if index:
            page.click("向前")
        saved = save_all_sizes(driver, tervane, page, f"{work_dir}/library{index}.ico")
        assert saved == open(os.path.join(folder, name), "rb").read(), name
    page.click("向前")  # three icons: back to the first
    assert preview_hint(driver, tervane, page) == "图标预览 (16, 32 像素)"
    assert tervane.close_and_wait() == 0
