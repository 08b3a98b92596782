"""A save that fails on either page: the error display reports it, the status line goes back
to what it said before the wait text (nothing is being saved any more: the press cleared what
the save before had written, and TBusyState's own test sees the text put back), and the next
save works. The target is a name the system refuses (a control character has no place in a Windows
file name, and the save dialog lets it through), which fails the same way as a read-only place,
and as root too."""

from convert_page_driver import Page, magick
from tervane_driver import wait_until
from test_icon_page import IconPage

REFUSED_NAME = "a\tb"


def dismiss_create_error(driver, tervane, target):
    box = driver.wait_message_box(tervane.pid)
    assert box.text.startswith('Cannot create file "Z:' + target.replace("/", "\\") + '". '), box.text
    driver.screenshot("failed_save_error")
    driver.press_button(box.window, "确定")
    wait_until(lambda: driver.info(box.window) is None, 10, "the error display to close")


def test_failed_saves_put_the_status_line_back_and_the_next_save_works(driver, tervane, fixtures_dir, work_dir):
    # Each page's status line says something before the failed save: the press clears it, and
    # neither the old text nor the wait text may be left.
    page = Page(driver, tervane)
    source = work_dir + "/source.bmp"
    magick("-size", "16x16", "xc:rgb(30,90,200)", "-type", "TrueColor", "BMP3:" + source)
    page.choose_source(source)
    page.convert_to(work_dir + "/first.gif")
    page.wait_saved(work_dir + "/first.gif")
    assert page.status() != ""
    refused = f"{work_dir}/{REFUSED_NAME}.gif"
    page.convert_to(refused)
    dismiss_create_error(driver, tervane, refused)
    assert page.status() == ""
    driver.screenshot("failed_save_convert_page", tervane.window)
    page.convert_to(work_dir + "/next.gif")
    wait_until(lambda: page.status().endswith("next.gif"), 60, "the next save")

    icons = IconPage(driver, tervane)
    icons.open(fixtures_dir + "/iconsource/IconSourceApp.exe", index=2)
    icons.save(work_dir + "/first.bmp")
    assert icons.text(icons.status_edit) != ""
    refused = f"{work_dir}/{REFUSED_NAME}.bmp"
    icons.click("保存")
    driver.answer_file_dialog(refused, tervane.pid)
    dismiss_create_error(driver, tervane, refused)
    assert icons.text(icons.status_edit) == ""
    icons.click("保存")
    driver.answer_file_dialog(work_dir + "/next.bmp", tervane.pid)
    icons.wait_status(lambda t: t.endswith("next.bmp"))
    assert tervane.close_and_wait() == 0
