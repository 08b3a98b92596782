"""The controls of dressed windows, with the real mouse and keyboard: bitmap buttons click once
on a press and release over them and not when released elsewhere, the space bar still clicks,
the tabs switch pages and are drawn from the skin, read-only edits have a flat border, the
slider still moves, and the open and save dialogs and message boxes are dressed and work."""
import os
import re
import subprocess

from conftest import MAIN_CAPTION
from convert_page_driver import Page, magick
from skin_controls_helpers import (PAGES, SKIN_COUNT, choose_skin, no_file_dialog_for, picture_colours,
                                   press_and_release, region_colours, show_page, skin_colour, wait_page)
from tervane_driver import wait_until

TBM_GETPOS = 0x0400
WHITE = (255, 255, 255)


def cancel(driver, dialog):
    driver.press_button(dialog, control_id=2)
    wait_until(lambda: driver.info(dialog) is None, 10, "the dialog closed")


def dressed_button(skin, button):
    """Whether a button shows its skin's push-button picture (many of the picture's own colours)."""
    shown = region_colours(button.left, button.top, button.width, button.height)
    cells = set().union(*(picture_colours(skin, "button.bmp", 5, cell) for cell in (1, 4)))
    return len(shown & cells) >= 6


def centre(window):
    return (window.left + window.width // 2, window.top + window.height // 2)


def test_a_bitmap_button_clicks_once_over_it_never_outside_and_by_the_space_bar_in_every_skin(driver, tervane):
    for skin in range(SKIN_COUNT):
        choose_skin(driver, tervane, skin)
        page = show_page(driver, tervane, PAGES[0])
        button = driver.wait_child(page, "TBitBtn", text=re.compile("打开"))
        press_and_release(centre(button), centre(button))
        dialog = driver.wait_file_dialog(tervane.pid)
        cancel(driver, dialog)
        assert no_file_dialog_for(driver, tervane.pid, 1.0), f"skin {skin}: the handler ran once"
        driver.focus(tervane.window)
        press_and_release(centre(button), (button.right + 60, button.top + 10))
        assert no_file_dialog_for(driver, tervane.pid, 1.5), f"skin {skin}: released outside, no click"
        # The press gave the button the focus; the space bar clicks through its own handling.
        driver.key("space")
        cancel(driver, driver.wait_file_dialog(tervane.pid))


def test_tabs_switch_by_mouse_and_keys_are_drawn_from_the_skin_and_read_only_edits_are_flat(driver, tervane):
    for skin in range(SKIN_COUNT):
        choose_skin(driver, tervane, skin)
        page = show_page(driver, tervane, PAGES[1])
        tabs = driver.find_children(tervane.window, "TPageControl")[0]
        # The selected tab carries the skin's accent line along its top.
        assert skin_colour(skin, "accent") in region_colours(tabs.client_x, tabs.client_y, 200, 4), f"skin {skin}"
        edit = driver.find_children(page, "TEdit")[0]
        assert region_colours(edit.left + 4, edit.top, edit.width - 8, 1) == {skin_colour(skin, "shadow")}
        assert region_colours(edit.left + 4, edit.top + 1, edit.width - 8, 1) == {WHITE}
        assert region_colours(edit.left, edit.top + 4, 1, edit.height - 8) == {skin_colour(skin, "shadow")}
    show_page(driver, tervane, PAGES[0])
    driver.key("Right")  # the click gave the tabs the focus
    wait_page(driver, tervane, PAGES[1], "the next page by key")
    # A click on the tab the key just left, at the place of the click before and within the
    # double-click time, arrives as a double click: it must still switch back.
    second_tab = (tabs.client_x + 30 + 62, tabs.client_y + 10)
    subprocess.run(["xdotool", "mousemove", *map(str, second_tab), "click", "1", "sleep", "0.1",
                    "key", "Left", "sleep", "0.1", "click", "1"], check=True, timeout=30)
    wait_page(driver, tervane, PAGES[1], "the page by a click soon after the one before")


def test_the_slider_moves_by_mouse_and_keys_and_its_hint_follows(driver, tervane):
    choose_skin(driver, tervane, 0)
    page = show_page(driver, tervane, PAGES[1])
    track = driver.find_children(page, "TTrackBar")[0]
    assert driver.send(track, TBM_GETPOS) == 65
    driver.click_window(track, track.width - 12, track.height // 2)
    wait_until(lambda: driver.send(track, TBM_GETPOS) == 75, 5, "a page to the right by the mouse")
    driver.key("Left")
    wait_until(lambda: driver.send(track, TBM_GETPOS) == 74, 5, "a step to the left by the key")
    driver.mouse_move(track.left - 40, track.top - 40)
    driver.mouse_move(track.left + 30, track.top + track.height // 2)
    hint = lambda: next((h.text for h in map(driver.info, driver.find_windows("TIconHintX", pid=tervane.pid))
                         if h and h.visible), None)
    wait_until(lambda: hint() == "JPEG图片的当前质量:74/100", 10, "the quality hint")
    driver.screenshot("skin_controls_slider", tervane.window)


def test_dressed_dialogs_and_message_boxes_work(driver, tervane, work_dir):
    skin = 1
    choose_skin(driver, tervane, skin)
    shadow = skin_colour(skin, "shadow")
    source, target = work_dir + "/a.bmp", work_dir + "/a.gif"
    magick("-size", "16x16", "xc:rgb(200,40,40)", source)
    page = Page(driver, tervane)
    dialog = page.open_dialog()
    driver.screenshot("skin_controls_open_dialog", dialog)
    ok = driver.find_button(dialog, control_id=1)
    assert dressed_button(skin, ok), "the dialog's buttons are dressed"
    types = [c for c in driver.children(dialog) if c.class_name == "ComboBox" and c.id == 0x470][0]
    assert shadow in region_colours(types.left + 4, types.top, types.width - 30, 1), "its combo box is dressed"
    driver.click_window(types)
    driver.key("Down", "Return")  # the dressed combo box still chooses
    wait_until(lambda: driver.file_type_choice(dialog)[0] == 1, 10, "the second file type")
    driver.answer_file_dialog(source, tervane.pid)
    wait_until(lambda: page.source_text().endswith("a.bmp"), 10, "the source chosen")
    page.convert_to(target)
    page.wait_saved(target)
    first = os.path.getmtime(target)
    # Saving again asks before replacing: a dressed message box whose button still answers.
    driver.click_window(driver.wait_child(page.sheet, "TBitBtn", text="生成文件"))
    driver.answer_file_dialog(target, tervane.pid)
    box = driver.wait_message_box(tervane.pid, MAIN_CAPTION)
    driver.screenshot("skin_controls_message_box", box.window)
    yes = driver.find_button(box.window, "确定")
    assert dressed_button(skin, yes), "the box's buttons are dressed"
    driver.click_window(yes)
    page.wait_saved(target)
    assert os.path.getmtime(target) >= first


def test_screenshots_of_every_page_in_every_skin(driver, tervane):
    for skin in range(SKIN_COUNT):
        choose_skin(driver, tervane, skin)
        for number, caption in enumerate(PAGES):
            show_page(driver, tervane, caption)
            driver.screenshot(f"skin_controls_{skin + 1}_{number}", tervane.window)


def button_look(driver, button, name):
    shot = driver.screenshot(name, button)
    return subprocess.run(["convert", shot, "rgb:-"], capture_output=True, check=True, timeout=30).stdout


def test_a_button_pressed_dragged_off_and_released_is_not_left_hot_in_any_skin(driver, tervane):
    for skin in range(SKIN_COUNT):
        choose_skin(driver, tervane, skin)
        page = show_page(driver, tervane, PAGES[1])
        button = driver.wait_child(page, "TBitBtn", text="原文件")
        away = (page.left + 20, page.bottom - 20)
        driver.mouse_move(*away)
        normal = button_look(driver, button, f"skin_controls_drag_{skin + 1}_normal")
        driver.mouse_move(*centre(button))
        wait_until(lambda: button_look(driver, button, f"skin_controls_drag_{skin + 1}_hot") != normal, 5, "the hover")
        x, y = centre(button)
        press_and_release((x, y), (x - 200, y + 80))
        driver.mouse_move(*away)
        wait_until(lambda: button_look(driver, button, f"skin_controls_drag_{skin + 1}_after") == normal, 5,
                   f"skin {skin}: the button's hover gone")
