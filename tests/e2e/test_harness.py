"""The harness itself, against a small probe window (tests/driver/InputProbe.cpp) that shows
every input and dialog answer it receives in its status label: keys, menu shortcuts, clicks
and dialog answers must reach a program as a user's would."""

import os
import re

import pytest

from conftest import build_path, end_new_windowed_processes
from tervane_driver import DriverError, plain_caption, text_matches, wait_until

STATUS_ID = 110


@pytest.fixture
def probe(driver):
    pid = driver.start(build_path("TERVANE_PROBE", "tests", "bin", "InputProbe.exe"))
    window = driver.wait_window("TervaneInputProbe", "输入探针", pid=pid)
    status = driver.wait_child(window, "Static", control_id=STATUS_ID)
    return pid, window, status


def wait_status(driver, status, wanted):
    return wait_until(lambda: text_matches(driver.text(status), wanted) and driver.text(status), 10,
                      f"the probe to report {wanted!r} (it shows {driver.text(status)!r})")


def test_caption_matching_ignores_accelerator_marks_only():
    assert plain_caption("是(&Y)") == "是"
    assert plain_caption("&Open") == "Open"
    assert text_matches("全否(&O)", "全否")
    assert not text_matches("全否(&O)", "否")


def test_keys_and_menu_shortcuts_reach_the_focused_window(driver, probe):
    pid, window, status = probe
    driver.focus(window)
    assert driver.active()[0] == window.hwnd
    for keys, report in (("ctrl+g", "menu:go"), ("F1", "key:F1"), ("Escape", "key:Escape")):
        driver.key(keys)
        wait_status(driver, status, report)


def test_mouse_clicks_arrive_at_window_relative_points(driver, probe):
    pid, window, status = probe
    driver.click_window(window, 300, 160)
    wait_status(driver, status, "click 300 160")
    assert tuple(int(t) for t in driver.request("cursor")) == (window.client_x + 300, window.client_y + 160)
    driver.right_click_window(window, 250, 150)
    wait_status(driver, status, "rclick 250 150")
    driver.double_click_window(window, 200, 140)
    wait_status(driver, status, "dblclick 200 140")


def test_typing_clicking_a_checkbox_and_finding_controls(driver, probe):
    pid, window, status = probe
    edit = driver.wait_child(window, "Edit")
    driver.click_window(edit)
    driver.type_text("name.bmp")
    wait_until(lambda: driver.text(edit) == "name.bmp", 5, "the typed text")
    driver.set_text(edit, "图片.bmp")
    assert driver.info(edit).text_bytes == "图片.bmp".encode("gbk")

    check = driver.wait_child(window, "Button", "选项")
    assert not driver.is_checked(check)
    driver.click_window(check, 8, 12)
    wait_until(lambda: driver.is_checked(check), 5, "the check box to be checked")
    assert driver.child_at(window, 20, 90).hwnd == check.hwnd

    driver.post(window, 1026, 0, 513)
    wait_status(driver, status, "tray:513")


def test_message_box_is_read_and_answered_by_caption(driver, probe):
    pid, window, status = probe
    driver.press_button(window, "消息")
    box = driver.wait_message_box(pid, "输入探针")
    assert "确定要继续吗？" in box.text
    assert len(box.buttons) == 2
    driver.press_button(box.window, box.buttons[1])  # Cancel, in Wine's language
    wait_status(driver, status, "message:2")
    driver.wait_gone(box.window)


def test_open_and_save_dialogs_take_a_typed_file_name(driver, probe, work_dir):
    pid, window, status = probe
    picture = os.path.join(work_dir, "图片一.bmp")
    with open(picture, "wb") as f:
        f.write(b"BM")
    driver.press_button(window, "打开(&O)")
    driver.answer_file_dialog(picture, pid)
    wait_status(driver, status, "open:Z:" + picture.replace("/", "\\"))

    driver.press_button(window, "保存")
    target = os.path.join(work_dir, "新图片.bmp")
    driver.answer_file_dialog(target, pid)
    wait_status(driver, status, "save:Z:" + target.replace("/", "\\"))


def test_folder_browser_takes_a_folder(driver, probe, work_dir):
    pid, window, status = probe
    folder = os.path.join(work_dir, "输出")
    os.mkdir(folder)
    driver.press_button(window, "文件夹")
    driver.answer_folder_dialog(folder, pid)
    wait_status(driver, status, "folder:Z:" + folder.replace("/", "\\"))


def test_waiting_for_a_missing_window_times_out_and_processes_end(driver, probe):
    pid, window, status = probe
    with pytest.raises(DriverError):
        driver.wait_window("NoSuchClass", timeout=0.5)
    assert driver.wait_exit(pid, 0.2) is None
    assert driver.kill_all() == 1
    assert driver.wait_exit(pid, 5) == 1
    assert driver.info(window) is None


def test_processes_the_program_started_itself_are_ended(driver, probe):
    pid, window, status = probe
    before = {w.pid for w in driver.windows() if w.pid != pid}
    driver.press_button(window, "新窗口")
    child = int(wait_status(driver, status, re.compile(r"^spawn:\d+$")).split(":")[1])
    driver.wait_window("TervaneInputProbe", pid=child)
    assert end_new_windowed_processes(driver, before | {pid}) == {child}
    assert driver.wait_exit(child, 5) == 1
    assert driver.find_windows("TervaneInputProbe", pid=child) == []
    assert driver.wait_exit(pid, 0) is None, "the process the test started itself is left to the driver"
