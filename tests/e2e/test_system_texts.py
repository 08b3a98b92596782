"""Texts the system writes in its own language, on a German and a Korean Windows (run as
e2e_german_system_texts and e2e_korean_system_texts): the dressed buttons of the open dialog
draw the text the system reports for them, not what code page 936 makes of it ("?ffnen" for
"Öffnen", "??" for "열기")."""

import subprocess

import pytest

from conftest import ENGLISH, OTHER_LANGUAGE
from test_icon_page import IconPage, wait_closed
from tervane_driver import IDCANCEL, IDOK, wait_until

pytestmark = pytest.mark.skipif(not OTHER_LANGUAGE or ENGLISH, reason="for a German or a Korean Windows")


def pixels(driver, window, name):
    shot = driver.screenshot(name, window)
    return subprocess.run(["convert", shot, "rgb:-"], capture_output=True, check=True, timeout=30).stdout


def test_the_open_dialogs_dressed_buttons_draw_the_systems_own_texts(driver, tervane):
    page = IconPage(driver, tervane)
    page.click("打开 ")
    dialog = driver.wait_file_dialog(tervane.pid)
    checked = []
    for control_id in (IDOK, IDCANCEL):
        button = driver.find_button(dialog, control_id=control_id)
        text = driver.wide_text(button)
        mangled = text.encode("gbk", "replace").decode("gbk")
        if mangled == text:
            continue  # "Abbrechen": nothing for code page 936 to lose
        name = f"system_texts_{control_id}"
        drawn = pixels(driver, button, name)
        # What drawing through code page 936 would show: it must look otherwise.
        driver.set_text(button, mangled)
        wait_until(lambda: pixels(driver, button, name + "_mangled") != drawn, 5, f"{mangled!r} drawn unlike {text!r}")
        driver.set_text(button, text)
        wait_until(lambda: pixels(driver, button, name) == drawn, 5, f"{text!r} drawn as before")
        checked.append(text)
    assert checked, "the dialog's buttons hold texts beyond code page 936"
    driver.screenshot("system_texts_dialog", dialog)
    driver.press_button(dialog, control_id=IDCANCEL)
    wait_closed(driver, dialog)
    assert tervane.close_and_wait() == 0
