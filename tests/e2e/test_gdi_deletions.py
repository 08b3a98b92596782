"""The program's usual operations must never delete a GDI object that is still selected into a
device context: Windows would refuse and keep it, leaking one object per operation. Wine logs
each such deletion, which gdi_check.py checks after every step."""

from convert_page_driver import Page, colours_seen, magick
from gdi_check import GDI_CHECK, DeferredDeletions
from test_convert_matrix import convert_and_check, make_source, other_kinds
from test_icon_page import BLUE, IconPage, colour_of, dominant
from test_skin_choice import choose_from_bar, choose_from_tray, choose_with_shortcut
from tervane_driver import wait_until

PREVIEW_CENTRE = (88 + 44, 64 + 44)  # in the conversion page
PURE_RED, PURE_BLUE = (255, 0, 0), (0, 0, 255)


def show_animation(driver, tervane, page, work_dir):
    """An animated GIF playing in the page's preview and then in the preview window."""
    source = work_dir + "/blink.gif"
    magick("-delay", "15", "-size", "60x40", "xc:rgb(255,0,0)", "xc:rgb(0,0,255)", "-loop", "0", source)
    page.choose_source(source)
    assert {PURE_RED, PURE_BLUE} <= colours_seen(page.sheet.client_x + PREVIEW_CENTRE[0],
                                        page.sheet.client_y + PREVIEW_CENTRE[1], 2)
    driver.click_window(page.sheet, *PREVIEW_CENTRE)
    preview = driver.info(driver.wait_window("TForm2", pid=tervane.pid, visible=True))
    assert {PURE_RED, PURE_BLUE} <= colours_seen(preview.client_x + preview.client_width // 2,
                                        preview.client_y + preview.client_height // 2, 2)
    driver.click_window(preview, 200, 200)
    wait_until(lambda: not driver.info(preview).visible, 10, "the preview hidden")


@GDI_CHECK
def test_usual_operations_delete_no_selected_gdi_object(driver, tervane, tervane_exe, fixtures_dir, work_dir):
    deletions = DeferredDeletions(driver, tervane_exe)
    deletions.assert_none("starting")

    icons = IconPage(driver, tervane)
    icons.open(fixtures_dir + "/iconsource/IconSourceApp.exe", index=2)
    deletions.assert_none("opening an icon source")
    for kind in ("ico", "bmp", "jpg", "gif"):
        icons.save(f"{work_dir}/icon.{kind}")
        assert dominant(colour_of(f"{work_dir}/icon.{kind}"), BLUE)
        deletions.assert_none(f"saving the icon as {kind}")
    icons.save(f"{work_dir}/icon.png")  # its largest image, with its transparency
    deletions.assert_none("saving the icon as png")

    page = Page(driver, tervane)  # a page switch
    deletions.assert_none("switching to the conversion page")
    kinds = ("bmp", "jpg", "gif", "ico", "png")
    for source_kind in kinds:
        page.choose_source(make_source(work_dir, source_kind))
        deletions.assert_none(f"showing a {source_kind} source")
        for target_kind in other_kinds(source_kind, kinds):
            convert_and_check(page, work_dir, source_kind, target_kind)
            deletions.assert_none(f"converting {source_kind} to {target_kind}")

    show_animation(driver, tervane, page, work_dir)
    deletions.assert_none("playing an animated GIF in both previews")
    for keys in ("ctrl+a", "ctrl+g", "ctrl+c"):
        driver.focus(tervane.window)
        driver.key(keys)
        wait_until(lambda: driver.info(page.sheet).visible == (keys == "ctrl+c"), 10, "the page shown")
    deletions.assert_none("switching pages with an animation shown")
    # Every skin, chosen by each of its three ways: frames, controls and menus dressed anew.
    for number in range(1, 8):
        (choose_with_shortcut, choose_from_bar, choose_from_tray)[number % 3](driver, tervane, number)
        deletions.assert_none(f"switching to skin {number}")
    assert tervane.close_and_wait() == 0
    deletions.assert_none("closing the program")
