"""The conversion page's speed against the GIF writer's own, both as 32-bit Windows programs
under Wine (comparing the page with a native build would measure the compiler, not the page).

1. gif_photo_bench_win.exe: the writer's whole-picture benchmark for a 4000 x 3000 photograph
   (the program's JPEG decoding on one thread, web-palette reduction and LZW coding on the
   other, safe save), best of a few; it also checks that its GIF is byte for byte the one the
   same stages write one after the other. The same for PNG (filtering and deflating on the
   other thread), the yardstick of the page's PNG.
2. Tervane.exe driven as a user does: the conversion page (Ctrl+C), the photograph chosen with
   "原文件", then for GIF, PNG, BMP and ICO targets "生成文件" and the save dialog answered. The
   driver presses the dialog's OK button and times, on its side, the dialog going and then the
   page until its status line reads "图片已保存为...". The page is timed from the moment the
   dialog has gone: the dialog's own teardown is the system's work, not the page's (it is
   printed beside). Wall time and Tervane's processor time, best of a few runs.
3. After the conversions, a full repaint of the main window with the photograph's stretched
   preview (RedrawWindow with RDW_UPDATENOW, which waits for the program's painting), and
   again once the page is shown anew and its preview is empty.

The GIF and the PNG the page writes must be byte for byte the benchmark's; each of the page's
GIF and PNG times is printed as a multiple of the writer's (the target is at most 1.1). Run by `scripts/bench.sh
convert`, which builds what this needs, gives it a display and its own Wine prefix, and ends
every process afterwards. Usage: convert_page_bench.py <photo folder> <work folder> [runs]
"""

import os
import re
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from conftest import build_path, start_tervane  # noqa: E402
from convert_page_driver import SAVED, Page  # noqa: E402
from processor_name import processor_name  # noqa: E402
from tervane_driver import IDOK, GuiDriver, wait_until, windows_path  # noqa: E402

TARGET_RATIO = 1.1
PHOTO = "bench-photo-4000x3000.jpg"


def make_photo(folder: str) -> str:
    """The GIF benchmark's photograph (gif_bench makes the same one in the same place)."""
    path = os.path.join(folder, PHOTO)
    subprocess.run([os.path.join(os.path.dirname(os.path.abspath(__file__)), "make_photo.sh"), "4000x3000", path],
                   check=True, timeout=300)
    return path


def writer_benchmark(photo: str, out: str, runs: int):
    """(processor, wall) seconds of the writer alone, as the Windows benchmark reports them; the
    output's extension (.gif or .png) says which writer."""
    exe = build_path("TERVANE_GIF_PHOTO_BENCH", "bench", "gif_photo_bench_win.exe")
    run = subprocess.run(["wine", exe, windows_path(photo), windows_path(out), str(runs)], capture_output=True,
                         text=True, timeout=300)
    print(run.stdout.strip(), flush=True)
    if run.returncode != 0:
        sys.exit(f"the writer's benchmark failed ({run.returncode}): {run.stderr.strip()}")
    processor, wall = re.search(r"the writer alone.*processor (\d+) ms, wall (\d+) ms", run.stdout).groups()
    return int(processor) / 1e3, int(wall) / 1e3


def time_conversion(driver: GuiDriver, page: Page, target: str):
    """Converts the chosen source into target through the page; the driver's PressTiming."""
    if os.path.exists(target):
        os.remove(target)  # no overwrite question in between
    driver.click_window(driver.wait_child(page.sheet, "TBitBtn", text="生成文件"))
    dialog = driver.fill_file_dialog(target, page.tervane.pid)
    ok = driver.find_button(dialog, control_id=IDOK)
    timing = driver.time_press(ok, page.edit(227), SAVED, page.tervane.pid)
    assert page.status().endswith(os.path.basename(target)), page.status()
    return timing


def best(timings, field: str) -> float:
    return min(getattr(t, field) for t in timings)


def repaint_seconds(driver: GuiDriver, window, count: int = 7) -> float:
    return statistics.median(driver.redraw(window) for _ in range(count))


def main() -> int:
    print(f"processor: {processor_name()}")
    photo_folder, work = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    os.makedirs(work, exist_ok=True)
    photo = make_photo(photo_folder)
    writers = {kind: writer_benchmark(photo, os.path.join(work, "writer." + kind), runs) for kind in ("gif", "png")}

    driver = GuiDriver(build_path("TERVANE_DRIVER", "tests", "bin", "GuiDriver.exe"), work)
    try:
        tervane = start_tervane(driver, build_path("TERVANE_EXE", "bin", "Tervane.exe"))
        page = Page(driver, tervane)
        page.choose_source(photo)
        timings = {kind: [time_conversion(driver, page, os.path.join(work, "page." + kind)) for _ in range(runs)]
                   for kind in ("gif", "png", "bmp", "ico")}
        repaint = repaint_seconds(driver, tervane.window)
        driver.key("ctrl+a")  # shown again, the page empties its preview
        page = Page(driver, tervane)
        wait_until(lambda: page.source_text() == "", 10, "the page emptied")
        empty_repaint = repaint_seconds(driver, tervane.window)
        assert tervane.close_and_wait() == 0
    finally:
        driver.shutdown()

    same = True
    for kind in writers:
        same_kind = open(os.path.join(work, "page." + kind), "rb").read() == \
            open(os.path.join(work, "writer." + kind), "rb").read()
        print(f"the page's {kind.upper()} is {'byte for byte' if same_kind else 'NOT'} the writer's")
        same = same and same_kind
    for kind, runs_of_kind in timings.items():
        print(f"page {kind.upper()}: processor {best(runs_of_kind, 'result_cpu') * 1e3:.0f} ms, wall "
              f"{best(runs_of_kind, 'result_wall') * 1e3:.0f} ms from the dialog's close (the dialog itself "
              f"{best(runs_of_kind, 'close_wall') * 1e3:.0f} ms), best of {len(runs_of_kind)}")
    for kind, (writer_cpu, writer_wall) in writers.items():
        cpu_ratio = best(timings[kind], "result_cpu") / writer_cpu
        wall_ratio = best(timings[kind], "result_wall") / writer_wall
        verdict = "met" if cpu_ratio <= TARGET_RATIO else "NOT met"
        print(f"page {kind.upper()} / writer: {cpu_ratio:.2f}x in processor time, {wall_ratio:.2f}x in wall time "
              f"(target {TARGET_RATIO}x in processor time: {verdict})")
    print(f"repaint of the main window: {repaint * 1e3:.0f} ms with the photograph's preview, "
          f"{empty_repaint * 1e3:.0f} ms with the page empty (median of 7)")
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
