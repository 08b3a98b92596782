"""The toolkit's open dialog and folder browser, run from a window built on the toolkit: the
name the user gives comes back, the dialog opens on the first filter entry, cancelling keeps
the entry, the program's window is disabled while the browser is open, and a chosen folder
has no trailing backslash (except a drive root)."""

import os

from conftest import build_path
from tervane_driver import wait_until, windows_path

CB_GETCURSEL = 0x0147
FILE_TYPE_COMBO = 0x470
IDCANCEL = 2


def start_probe(driver):
    pid = driver.start(build_path("TERVANE_TOOLKIT_PROBE", "tests", "bin", "ToolkitProbe.exe"))
    return pid, driver.wait_window("TToolkitProbeForm", "工具包探针", pid=pid)


def caption_becomes(driver, window, wanted):
    return wait_until(lambda: driver.info(window).text == wanted, 15,
                      f"the caption {wanted!r} (it reads {driver.info(window).text!r})")


def test_open_dialog_returns_the_name_and_cancelling_changes_nothing(driver, work_dir):
    target = os.path.join(work_dir, "图片.bmp")
    open(target, "wb").close()
    pid, window = start_probe(driver)
    driver.click_window(driver.wait_child(window, "TButton", text="打开"))
    dialog = driver.wait_dialog(pid)
    assert dialog.text == "请选择要打开的文件"
    combo = next(c for c in driver.find_children(dialog, "ComboBox") if c.id == FILE_TYPE_COMBO)
    assert driver.send(combo, CB_GETCURSEL) == 0, "the first filter entry at the first use"
    driver.answer_file_dialog(target, pid)
    caption_becomes(driver, window, windows_path(target) + "|1")
    driver.click_window(driver.wait_child(window, "TButton", text="打开"))
    dialog = driver.wait_dialog(pid)
    driver.press_button(dialog, control_id=IDCANCEL)
    caption_becomes(driver, window, "取消|1")
    driver.close(window)
    assert driver.wait_exit(pid, 15) == 0


def test_folder_browser_returns_the_folder_and_disables_the_window(driver, work_dir):
    folder = os.path.join(work_dir, "输出")
    os.makedirs(folder)
    pid, window = start_probe(driver)
    driver.click_window(driver.wait_child(window, "TButton", text="文件夹"))
    dialog = driver.wait_dialog(pid)
    assert not driver.info(window).enabled, "the program's window is disabled while the browser is open"
    assert driver.find_children(dialog, text="请选择文件夹")
    driver.answer_folder_dialog(folder, pid)
    caption_becomes(driver, window, windows_path(folder))
    assert driver.info(window).enabled
    driver.click_window(driver.wait_child(window, "TButton", text="文件夹"))
    driver.answer_folder_dialog("Z:\\", pid)
    caption_becomes(driver, window, "Z:\\")
    driver.close(window)
    assert driver.wait_exit(pid, 15) == 0
