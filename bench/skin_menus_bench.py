"""How long a dressed bar menu takes to open against a plain one, both under Wine in one run.

The GUI driver presses the mouse on a menu-bar item and times, on its side, until the item's
popup menu is visible and painted: on Tervane's drawn bar (dressed in the first skin, its items
drawn from the skin) and on the plain, system-drawn bar of the driver's input probe window. Each
menu is opened a number of times and closed with Escape; the medians are compared (the target
is at most 1.5). Run by `scripts/bench.sh skin_menus`. Usage: skin_menus_bench.py [runs]
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


def open_times(driver, window, pid, x, y, runs):
    times = []
    for _ in range(runs):
        driver.focus(window)
        seconds = int(driver.request("time_menu_open", x, y, pid, 5000, timeout=30)[0]) / 1e6
        if seconds <= 0:
            raise RuntimeError("the menu did not open")
        times.append(seconds)
        driver.key("Escape")
        wait_no_popup(driver, pid)
        time.sleep(0.2)
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
        probe_exe = build_path("TERVANE_PROBE", "tests", "bin", "InputProbe.exe")
        probe_pid = driver.start(probe_exe, os.path.dirname(probe_exe))
        probe = driver.wait_window(pid=probe_pid, visible=True, timeout=20)
        probe_info = driver.info(probe)
        plain = open_times(driver, probe, probe_pid, probe_info.client_x + 14,
                           bar_row(driver, probe), runs)
    finally:
        driver.shutdown()
    dressed_median, plain_median = statistics.median(dressed), statistics.median(plain)
    ratio = dressed_median / plain_median
    print(f"dressed bar menu: median {dressed_median * 1000:.1f} ms (min {min(dressed) * 1000:.1f}) over {runs}")
    print(f"plain bar menu:   median {plain_median * 1000:.1f} ms (min {min(plain) * 1000:.1f}) over {runs}")
    print(f"dressed / plain = {ratio:.2f} (target at most {TARGET_RATIO})")
    return 0 if ratio <= TARGET_RATIO else 1


if __name__ == "__main__":
    sys.exit(main())
