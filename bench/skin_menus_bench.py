"""How long a dressed bar menu takes to open against a plain one, both under Wine in one run.

The GUI driver presses the mouse on a menu-bar item and times, on its side, until the item's
popup menu is visible and painted: on Tervane's drawn bar (dressed in the first skin, its items
drawn from the skin) and on the plain, system-drawn bar of the driver's input probe window. Both
programs run side by side, out of each other's way, and the two menus are opened in turn, so
that whatever else the machine is doing weighs on both alike; each is closed with Escape. The
medians are compared (the target is at most 1.2) and the verdict printed; the best times are
printed beside. Run by `scripts/bench.sh skin_menus`. Usage: skin_menus_bench.py [rounds]
"""

import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from conftest import build_path, start_tervane  # noqa: E402
from skin_menus_helpers import bar_row, wait_no_popup  # noqa: E402
from processor_name import processor_name  # noqa: E402
from tervane_driver import GuiDriver  # noqa: E402

TARGET_RATIO = 1.2
PROBE_PLACE = (560, 0, 440, 200)  # above the right end of Tervane's centred window
SETTLE = 0.4  # seconds for a window to finish repainting after it came to the front


class Menu:
    """One program's first bar menu, opened by a press and timed."""

    def __init__(self, driver, window, pid):
        self.driver, self.window, self.pid = driver, window, pid
        self.x = driver.info(window).client_x + 14
        self.y = bar_row(driver, window)
        self.times = []

    def open_once(self):
        """Seconds until the menu was up, or 0 when it did not come."""
        self.driver.focus(self.window)
        time.sleep(SETTLE)
        seconds = int(self.driver.request("time_menu_open", self.x, self.y, self.pid, 5000, timeout=30)[0]) / 1e6
        self.driver.key("Escape")
        wait_no_popup(self.driver, self.pid)
        return seconds

    def measure(self):
        seconds = self.open_once() or self.open_once()
        if seconds <= 0:
            raise RuntimeError("the menu did not open")
        self.times.append(seconds)

    def report(self, name):
        low, _, high = statistics.quantiles(self.times, n=4)
        print(f"{name}: median {statistics.median(self.times) * 1000:.1f} ms (quartiles {low * 1000:.1f} to "
              f"{high * 1000:.1f}, best {min(self.times) * 1000:.1f}) over {len(self.times)}")


def main():
    print(f"processor: {processor_name()}")
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 30
    driver = GuiDriver(build_path("TERVANE_DRIVER", "tests", "bin", "GuiDriver.exe"), "/tmp")
    try:
        tervane = start_tervane(driver, build_path("TERVANE_EXE", "bin", "Tervane.exe"))
        probe_exe = build_path("TERVANE_PROBE", "tests", "bin", "InputProbe.exe")
        probe_pid = driver.start(probe_exe, os.path.dirname(probe_exe))
        probe = driver.wait_window(pid=probe_pid, visible=True, timeout=20)
        driver.request("place_window", probe.hwnd, *PROBE_PLACE)
        time.sleep(1.5)  # Tervane is dressed at its first activation
        dressed = Menu(driver, tervane.window, tervane.pid)
        plain = Menu(driver, probe, probe_pid)
        for menu in (dressed, plain):  # first use fills caches, in both
            menu.open_once()
        for _ in range(rounds):
            dressed.measure()
            plain.measure()
        driver.kill(probe_pid)
        tervane.close_and_wait()
    finally:
        driver.shutdown()
    dressed.report("dressed bar menu")
    plain.report("plain bar menu  ")
    ratio = statistics.median(dressed.times) / statistics.median(plain.times)
    verdict = "met" if ratio <= TARGET_RATIO else "NOT met"
    print(f"dressed / plain = {ratio:.2f} (medians of {rounds} alternating rounds; best times "
          f"{min(dressed.times) / min(plain.times):.2f}); target at most {TARGET_RATIO}: {verdict}")
    return 0 if verdict == "PASS" else 1


if __name__ == "__main__":
    sys.exit(main())
