"""The whole chain: Tervane.exe starts under Wine, its main window is found by class and
caption, the caption reads back whole (through the wide API, on a Chinese or an English Windows), a screenshot is taken, and closing the
window ends the process."""

import subprocess

from conftest import MAIN_CAPTION, MAIN_CLASS, SYSTEM_CODEPAGE, start_tervane


def image_stats(path):
    out = subprocess.run(["convert", path, "-colorspace", "Gray", "-format", "%w %h %[fx:standard_deviation]",
                          "info:"], capture_output=True, text=True, check=True).stdout.split()
    return int(out[0]), int(out[1]), float(out[2])


def test_main_window_opens_reads_back_whole_and_closes(driver, tervane_exe):
    assert driver.codepage() == SYSTEM_CODEPAGE
    run = start_tervane(driver, tervane_exe)
    window = run.window

    assert window.class_name == MAIN_CLASS
    assert window.text_bytes == MAIN_CAPTION.encode("gbk")
    assert window.text == MAIN_CAPTION
    assert window.visible and window.enabled
    assert window.client_width > 0 and window.client_height > 0
    found = driver.find_windows(MAIN_CLASS, MAIN_CAPTION)
    assert [w.hwnd for w in found] == [window.hwnd], "exactly one main window"

    shot = driver.screenshot("smoke_main_window", window)
    width, height, spread = image_stats(shot)
    assert (width, height) == (window.width, window.height)
    assert spread > 0.01, "the window's screenshot is a blank area"
    driver.screenshot("smoke_screen")

    assert run.close_and_wait() == 0
    assert driver.find_windows(MAIN_CLASS, MAIN_CAPTION) == []
