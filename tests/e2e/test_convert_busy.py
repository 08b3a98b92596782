"""What the conversion page shows while it converts. The program is busy then and answers no
messages, so the display itself is watched (display_watch; what it saw is also written into the
test's work folder): the status line shows the wait text for as long as the conversion runs, and
the pointer another cursor (Wine's hourglass, a watch) than before and after."""

from convert_page_driver import WAIT_TEXT, Page, magick
from display_watch import changes, shown_while_busy, stop, watch, watch_text_look, xwatch  # noqa: F401 (a fixture)

BM_CLICK = 0x00F5


def test_the_status_line_shows_the_wait_text_while_converting(xwatch, driver, tervane, work_dir):
    source, target = work_dir + "/big.jpg", work_dir + "/big.bmp"
    magick("-seed", "5", "-size", "3000x2000", "plasma:fractal", "-quality", "90", source)
    page = Page(driver, tervane)
    page.choose_source(source)
    status = driver.info(page.edit(227))
    driver.click_window(driver.wait_child(page.sheet, "TBitBtn", text="生成文件"))
    save = driver.find_button(driver.fill_file_dialog(target, tervane.pid), control_id=1)
    driver.mouse_move(status.left + status.width // 2, status.top + status.height // 2)
    watcher = watch(xwatch, status, 60, work_dir + "/status-")
    try:
        driver.post(save, BM_CLICK)
        page.wait_saved(target)
        seen = stop(watcher)
    finally:
        watcher.kill()
    # What the wait text looks like in the status line, set there afterwards.
    driver.set_text(page.edit(227), WAIT_TEXT)
    wait_text_look = watch_text_look(xwatch, status, work_dir)
    # It stays until the final text replaces it, over the conversion's time.
    busy_cursors, later_cursors = shown_while_busy(seen, wait_text_look)
    # The program's own arrow, over the page's background once it is idle again.
    driver.mouse_move(page.sheet.client_x + 60, page.sheet.client_y + 130)
    arrow = changes(watch(xwatch, status, 0.3).communicate(timeout=30)[0])[-1][1]
    ordinary = {seen[0][1], later_cursors[-1], arrow}  # the dialog's, the status line's, the page's
    # (The cursor goes back a moment before the final text replaces the wait text.)
    assert any(cursor not in ordinary for cursor in busy_cursors), f"no other cursor while busy: {seen}, arrow {arrow}"
