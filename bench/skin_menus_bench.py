"""How long a dressed bar menu takes to open against a plain one, both under Wine in one run.

The GUI driver presses the mouse on a menu-bar item and times, on its side, until the item's
popup menu is visible and painted: on Tervane's drawn bar (dressed in the first skin, its items
drawn from the skin) and on the plain, system-drawn bar of the driver's input probe window. Each
menu is opened a number of times and closed with Escape; the best times are compared (the target
is at most 1.5), as the other benchmarks compare theirs, and the medians are printed beside (on a
machine busy with other work they scatter). Run by `scripts/bench.sh skin_menus`. Usage: skin_menus_bench.py [runs]
"""

import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from conftest import build_path, start_tervane  # noqa: E402
from skin_menus_helpers import bar_row, wait_no_popup  # noqa: E402
from tervane_driver import GuiDriver  # noqa: E402

TARGET_RATIO = 1.5


def open_once(driver, window, pid, x, y):
    """Seconds until the menu was up, or 0 when it did not come."""
    driver.focus(window)
    seconds = int(driver.request("time_menu_open", x, y, pid, 5000, timeout=30)[0]) / 1e6
    driver.key("Escape")
    wait_no_popup(driver, pid)
    time.sleep(0.2)
    return seconds


def open_times(driver, window, pid, x, y, runs):
    """The times of `runs` openings after one unmeasured (first use fills caches, in both)."""
    open_once(driver, window, pid, x, y)
    times = []
    while len(times) < runs:
        seconds = open_once(driver, window, pid, x, y) or open_once(driver, window, pid, x, y)
        if seconds <= 0:
            raise RuntimeError("the menu did not open")
        times.append(seconds)
    return times


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 15
    driver = GuiDriver(build_path("TERVANE_DRIVER", "tests", "bin", "GuiDriver.exe"), "/tmp")
    try:
        tervane = start_tervane(driver, build_path("TERVANE_EXE", "bin", "Tervane.exe"))
        time.sleep(1.5)  # dressed at its first activation
        info = driver.info(tervane.window)
        dressed = open_times(driver, tervane.window, tervane.pid, info.client_x + 14,
                             bar_row(driver, tervane.window), runs)
        tervane.close_and_wait()  # out of the probe's way
        probe_exe = build_path("TERVANE_PROBE", "tests", "bin", "InputProbe.exe")
        probe_pid = driver.start(probe_exe, os.path.dirname(probe_exe))
        probe = driver.wait_window(pid=probe_pid, visible=True, timeout=20)
        time.sleep(1.0)
        probe_info = driver.info(probe)
        plain = open_times(driver, probe, probe_pid, probe_info.client_x + 14,
                           bar_row(driver, probe), runs)
    finally:
        driver.shutdown()
    dressed_median, plain_median = statistics.median(dressed), statistics.median(plain)
    ratio = min(dressed) / min(plain)
    print(f"dressed bar menu: median {dressed_median * 1000:.1f} ms (min {min(dressed) * 1000:.1f}) over {runs}")
    print(f"plain bar menu:   median {plain_median * 1000:.1f} ms (min {min(plain) * 1000:.1f}) over {runs}")
    print(f"dressed / plain = {ratio:.2f} best of {runs} (target at most {TARGET_RATIO}); "
          f"medians {dressed_median / plain_median:.2f}")
    return 0 if ratio <= TARGET_RATIO else 1


if __name__ == "__main__":
    sys.exit(main())
