"""Only one instance runs: a second start says so, brings the first to the front and ends
without a window of its own; a window that merely shares the caption does not count."""

from conftest import MAIN_CAPTION, MAIN_CLASS, build_path, start_tervane
from tervane_driver import wait_until

TITLE = "Quorlin图片处理Tervane"
SS_ICON = 0x3
STM_GETICON = 0x0171
SS_TYPEMASK = 0x1F
ALREADY_RUNNING = "为了节约系统资源,请不要重复运行本程序."


def test_second_start_shows_the_notice_and_hands_over(driver, tervane_exe):
    first = start_tervane(driver, tervane_exe)
    probe = driver.start(build_path("TERVANE_PROBE", "tests", "bin", "InputProbe.exe"))
    probe_window = driver.wait_window("TervaneInputProbe", pid=probe)
    driver.focus(probe_window)  # the first instance is now behind another window

    second = driver.start(tervane_exe)
    box = driver.wait_message_box(second, TITLE)
    assert box.text == ALREADY_RUNNING
    assert box.buttons == ["确定"]
    statics = driver.find_children(box.window, "Static")
    icons = [s for s in statics if s.style & SS_TYPEMASK == SS_ICON]
    assert all(driver.send(s, STM_GETICON) == 0 for s in icons), "the notice has no icon"
    assert driver.find_windows(MAIN_CLASS, pid=second) == [], "the second process makes no main window"
    driver.screenshot("second_instance_notice")
    driver.press_button(box.window, "确定")
    assert driver.wait_exit(second, 15) == 0
    wait_until(lambda: driver.active()[0] == first.window.hwnd, 10, "the first instance in front")
    assert first.close_and_wait() == 0


def test_a_window_with_the_caption_but_another_class_does_not_stop_a_start(driver, tervane_exe):
    probe = driver.start(build_path("TERVANE_PROBE", "tests", "bin", "InputProbe.exe"))
    probe_window = driver.wait_window("TervaneInputProbe", pid=probe)
    driver.set_text(probe_window, MAIN_CAPTION)
    assert driver.info(probe_window).text == MAIN_CAPTION
    run = start_tervane(driver, tervane_exe)
    assert run.window.class_name == MAIN_CLASS
    assert run.close_and_wait() == 0
