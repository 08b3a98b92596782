"""Fixtures of the end-to-end tests: a display, Wine's services, one GUI driver per test.

CTest passes the paths of the build (see CMakeLists.txt beside this file); run by hand, the
defaults point into build/win32.
"""

import os
import shutil
import signal
import subprocess
import sys
import time

import pytest

sys.path.insert(0, os.path.dirname(__file__))
from tervane_driver import GuiDriver, DriverError, wait_until  # noqa: E402

SOURCE_DIR = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD_DIR = os.environ.get("TERVANE_WIN_BUILD", os.path.join(SOURCE_DIR, "build", "win32"))
MAIN_CLASS = "TVyrfForm1"
MAIN_CAPTION = "Quorlin图片处理Tervane--Quorlin电脑工作室"
SHELL_CLASSES = ("#32769", "Shell_TrayWnd")  # the desktop and the taskbar of Wine's explorer

# TERVANE_LOCALE=en_US.UTF-8 runs a test on an English Windows (code page 1252): the English
# twin of the prefix (scripts/common.sh), made and run in that locale. de_DE.UTF-8 and
# ko_KR.UTF-8 give a German and a Korean Windows the same way, in twins of their own.
LOCALE = os.environ.get("TERVANE_LOCALE", "zh_CN.UTF-8")
ENGLISH = LOCALE == "en_US.UTF-8"
OTHER_LANGUAGE = LOCALE != "zh_CN.UTF-8"
SYSTEM_CODEPAGE = {"en_US.UTF-8": 1252, "de_DE.UTF-8": 1252, "ko_KR.UTF-8": 949}.get(LOCALE, 936)

os.environ.setdefault("WINEPREFIX", os.path.join(BUILD_DIR, "wineprefix"))
if OTHER_LANGUAGE:
    os.environ["WINEPREFIX"] += "-" + LOCALE[:2]
os.environ.setdefault("WINEDEBUG", "-all")
os.environ.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
os.environ.setdefault("WINEARCH", "win32")
os.environ["LC_ALL"] = LOCALE


def build_path(variable: str, *default: str) -> str:
    return os.environ.get(variable) or os.path.join(BUILD_DIR, *default)


def _display_works() -> bool:
    return bool(os.environ.get("DISPLAY")) and subprocess.run(
        ["xdpyinfo"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def _start_xvfb(depth: int = 24):
    """Starts a virtual display of the given depth the way the scripts do, makes it the current
    one and returns its name and its server's process id."""
    started = subprocess.run(
        ["bash", "-c", 'source "$1"; unset DISPLAY; ensure_display && echo "$DISPLAY $TERVANE_XVFB_PID"', "_",
         os.path.join(SOURCE_DIR, "scripts", "common.sh")],
        env={**os.environ, "TERVANE_DEPTH": str(depth)}, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
        text=True, timeout=120)
    if started.returncode != 0:
        raise RuntimeError("could not start a virtual display")
    display, pid = started.stdout.split()
    os.environ["DISPLAY"] = display
    return display, int(pid)


def _stop_xvfb(server):
    """Ends a display started above; unlike a kill, the server removes its lock as it goes."""
    display, pid = server
    lock = f"/tmp/.X{display.lstrip(':')}-lock"
    os.kill(pid, signal.SIGTERM)
    wait_until(lambda: not os.path.exists(lock), 10, "the virtual display to end")


def _quiet(*command: str):
    subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=120)


def _start_wine_services():
    _quiet("wineserver", "-p")
    _quiet("wine", "cmd", "/c", "exit")


def _stop_wine():
    _quiet("wineserver", "-k")
    _quiet("wineserver", "-w")


@pytest.fixture(scope="session")
def wine_session():
    """A display and Wine's service processes, started here unless scripts/test.sh already did."""
    xvfb = None if _display_works() else _start_xvfb()
    # The scripts start the services of the usual prefixes only.
    own_services = os.environ.get("TERVANE_WINE_SERVICES") != "1" or OTHER_LANGUAGE
    if own_services:
        # Started by a test instead, the services would inherit the test runner's output pipes.
        _quiet(os.path.join(SOURCE_DIR, "scripts", "prepare-wine-prefix.sh"))
        _start_wine_services()
    yield
    if own_services:
        _quiet("wineserver", "-k")
    if xvfb:
        _stop_xvfb(xvfb)


@pytest.fixture
def display_depth(request, wine_session):
    """Parametrised indirectly with a number of bits per pixel: the test's Wine runs on a virtual
    display of that depth of its own. Wine (this prefix's only) is ended and started on it, and
    afterwards started again on the usual display. List it before `driver`."""
    usual = os.environ.get("DISPLAY")
    _stop_wine()
    server = _start_xvfb(request.param)
    try:
        _start_wine_services()
        yield request.param
    finally:
        _stop_wine()
        _stop_xvfb(server)
        os.environ["DISPLAY"] = usual
        _start_wine_services()


@pytest.fixture
def screenshot_dir():
    return build_path("TERVANE_SCREENSHOTS", "tests", "e2e", "screenshots")


def end_new_windowed_processes(gui: GuiDriver, before) -> set:
    """Ends the processes with visible windows that were not there before: programs the tested
    program started itself (a text editor for its help, say), but not Wine's desktop and tray
    process, which may only have started now. Returns their pids."""
    windows = gui.windows()
    shell = {w.pid for w in windows if w.class_name in SHELL_CLASSES}
    strays = {w.pid for w in windows if w.visible} - set(before) - shell
    for pid in strays:
        gui.kill(pid)
    return strays


WINE_DEBUG_KEY = "HKCU\\Software\\Wine\\Debug"


def pytest_configure(config):
    config.addinivalue_line("markers", "wine_debug(channels, relay=None): the test's driver, and every program it "
                                       "starts, run with WINEDEBUG=channels; their debug output goes to "
                                       "driver.wine_log; relay names the functions a +relay channel traces")


def _relay_only(functions):
    """Which functions Wine's relay channel traces (all of them when None), for this prefix."""
    if functions:
        _quiet("wine", "reg", "add", WINE_DEBUG_KEY, "/v", "RelayInclude", "/t", "REG_SZ", "/d", functions, "/f")
    else:
        _quiet("wine", "reg", "delete", WINE_DEBUG_KEY, "/v", "RelayInclude", "/f")


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    """Keeps each phase's report on the test, so that the driver can tell whether it failed."""
    outcome = yield
    report = outcome.get_result()
    setattr(item, "report_" + report.when, report)


def describe_failure(gui, name):
    """What was on the display when a test failed: its visible windows and a screenshot."""
    try:
        for w in gui.windows():
            if w.visible:
                print(f"visible at failure: pid {w.pid} {w.class_name} {w.text!r} enabled={w.enabled}")
        print("screenshot at failure:", gui.screenshot("FAILED-" + name))
    except (DriverError, OSError, subprocess.SubprocessError) as error:
        print("no description of the display at failure:", error)


@pytest.fixture
def driver(wine_session, screenshot_dir, request):
    """A GUI driver for one test; whatever the test started is ended afterwards."""
    debug = request.node.get_closest_marker("wine_debug")
    log = relay = None
    if debug:
        log = build_path("TERVANE_E2E_LOGS", "tests", "e2e", "logs", request.node.name + ".log")
        os.makedirs(os.path.dirname(log), exist_ok=True)
        relay = debug.kwargs.get("relay")
        if relay:
            _relay_only(relay)
    gui = GuiDriver(build_path("TERVANE_DRIVER", "tests", "bin", "GuiDriver.exe"), screenshot_dir,
                    wine_debug=debug.args[0] if debug else None, wine_log=log)
    before = {w.pid for w in gui.windows()}
    yield gui
    report = getattr(request.node, "report_call", None)
    if report is not None and report.failed:
        describe_failure(gui, request.node.name)
    try:
        end_new_windowed_processes(gui, before)
        gui.shutdown()
    except DriverError:
        gui.shutdown()
        _quiet("wineserver", "-k")  # last resort, only this test run's prefix
    if relay:
        _relay_only(None)


@pytest.fixture
def tervane_exe():
    return build_path("TERVANE_EXE", "bin", "Tervane.exe")


@pytest.fixture
def fixtures_dir():
    """Test input files made by the build (icon sources and the like)."""
    return build_path("TERVANE_FIXTURES", "tests", "fixtures")


@pytest.fixture
def work_dir(request):
    """An empty folder inside the build tree for the files a test makes (the program sees it
    as Z:\\...); kept after the test for a look."""
    folder = os.path.join(build_path("TERVANE_E2E_WORK", "tests", "e2e", "work"), request.node.name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


class TervaneRun:
    def __init__(self, driver: GuiDriver, pid: int, window):
        self.driver, self.pid, self.window = driver, pid, window

    def close_and_wait(self, timeout: float = 15) -> int:
        self.driver.close(self.window)
        code = self.driver.wait_exit(self.pid, timeout)
        assert code is not None, "the program did not end after its main window was closed"
        return code


def _dressed(driver: GuiDriver, window) -> bool:
    info = driver.info(window)
    return info is not None and driver.region_size(window) == (info.width, info.height)


def start_tervane(driver: GuiDriver, exe: str, folder: str = None, timeout: float = 30) -> TervaneRun:
    """Starts Tervane.exe and waits until its main window is up and dressed."""
    pid = driver.start(exe, folder or os.path.dirname(exe))
    window = driver.wait_window(MAIN_CLASS, MAIN_CAPTION, pid=pid, timeout=timeout)
    # The window shows with the system's frame and is dressed in steps: the skin's outline is cut
    # for the frame's final size just before the window takes it. Tests look at the end result.
    wait_until(lambda: _dressed(driver, window), timeout, "the main window dressed")
    return TervaneRun(driver, pid, driver.info(window))


@pytest.fixture
def tervane(driver, tervane_exe):
    """A running Tervane whose main window is up; ended with the test's driver."""
    return start_tervane(driver, tervane_exe)
