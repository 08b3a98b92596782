"""An error that leaves an event handler is shown in the default error display (the error's
message with a full stop, the application title as caption, the error icon, one OK button)
and the program goes on: a window built on the toolkit whose first button's handler fails."""

from conftest import build_path
from tervane_driver import wait_until

TITLE = "Quorlin图片处理Tervane"
SS_ICON = 0x3
STM_GETICON = 0x0171
SS_TYPEMASK = 0x1F


def test_failing_handler_shows_the_error_and_the_program_goes_on(driver):
    pid = driver.start(build_path("TERVANE_TOOLKIT_PROBE", "tests", "bin", "ToolkitProbe.exe"))
    window = driver.wait_window("TToolkitProbeForm", "工具包探针", pid=pid)
    failing = driver.wait_child(window, "TButton", text="出错")
    counting = driver.wait_child(window, "TButton", text="计数 0")
    for attempt in range(2):
        driver.click_window(failing)
        box = driver.wait_message_box(pid, TITLE)
        assert box.text == "Bitmap image is not valid."
        assert box.buttons == ["确定"]
        statics = driver.find_children(box.window, "Static")
        icons = [s for s in statics if s.visible and s.style & SS_TYPEMASK == SS_ICON]
        assert any(driver.send(s, STM_GETICON) != 0 for s in icons), "the error icon is shown"
        if attempt == 0:
            driver.screenshot("default_error_display")
        driver.press_button(box.window, "确定")
        wait_until(lambda: not driver.find_windows("#32770", TITLE, pid=pid, visible=True), 10, "the error display to close")
    driver.click_window(counting)
    wait_until(lambda: driver.text(counting) == "计数 1", 10, "the other button to work after the errors")
    driver.close(window)
    assert driver.wait_exit(pid, 15) == 0


def test_hint_shows_after_the_pointer_rests(driver):
    pid = driver.start(build_path("TERVANE_TOOLKIT_PROBE", "tests", "bin", "ToolkitProbe.exe"))
    window = driver.wait_window("TToolkitProbeForm", "工具包探针", pid=pid)
    failing = driver.wait_child(window, "TButton", text="出错")
    driver.focus(window)
    x, y = failing.center
    driver.mouse_move(x - 3, y)
    driver.mouse_move(x, y)
    hint = driver.wait_window("THintWindow", "这个按钮的处理程序会出错", pid=pid, timeout=10)
    assert hint.top > y, "the hint sits below the pointer"
    driver.screenshot("toolkit_hint")
    driver.close(window)
    assert driver.wait_exit(pid, 15) == 0
