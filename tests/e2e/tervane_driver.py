"""Client of the GUI driver (tests/driver/GuiDriver.exe) for the end-to-end tests.

The driver runs inside the same Wine prefix as the program under test and answers a line
protocol on its stdin/stdout; texts cross as hex of their code page 936 bytes. Keyboard and
mouse input goes through the X server with xdotool, so a program receives it exactly as a
user's. Screenshots are taken from the X server with ImageMagick's `import`.
"""

import os
import queue
import re
import subprocess
import threading
import time
from dataclasses import dataclass
from typing import Callable, List, Optional, Union

CODEPAGE = "gbk"  # code page 936

WM_SETTEXT = 0x000C
WM_CLOSE = 0x0010
WM_KEYDOWN = 0x0100
WM_COMMAND = 0x0111
WM_SYSCOMMAND = 0x0112
BM_GETCHECK = 0x00F0
BM_CLICK = 0x00F5
TVM_GETCOUNT = 0x1105
SC_CLOSE = 0xF060
WS_VISIBLE = 0x10000000
WS_DISABLED = 0x08000000
WS_EX_TOOLWINDOW = 0x00000080
IDOK = 1
IDCANCEL = 2

TextMatch = Union[None, str, "re.Pattern[str]", Callable[[str], bool]]
# On an English Windows the system's own buttons (message boxes, the file dialogs) say "OK" and
# "Cancel"; the tests name them by the captions a Chinese Windows gives them.
SYSTEM_WORDS = {"OK": "确定", "Cancel": "取消"} if os.environ.get("TERVANE_LOCALE") == "en_US.UTF-8" else {}


class DriverError(Exception):
    """The driver refused a request, or a window or process did not appear in time."""


def encode_text(text: str) -> str:
    data = text.encode(CODEPAGE)
    return data.hex() if data else "-"


def decode_bytes(token: str) -> bytes:
    return b"" if token == "-" else bytes.fromhex(token)


def windows_path(path: str) -> str:
    """A Linux path as the program sees it in Wine (drive Z: is the Linux root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def plain_caption(text: str) -> str:
    """A button or menu caption without its accelerator marks: "是(&Y)" -> "是", "&Open" -> "Open"."""
    return re.sub(r"\(&.\)$", "", text).replace("&", "")


def text_matches(text: str, wanted: TextMatch) -> bool:
    if wanted is None:
        return True
    if isinstance(wanted, str):
        text = SYSTEM_WORDS.get(text, text)
        return text == wanted or plain_caption(text) == plain_caption(wanted)
    if isinstance(wanted, re.Pattern):
        return wanted.search(text) is not None
    return bool(wanted(text))


@dataclass
class Window:
    hwnd: int
    parent: int
    owner: int
    pid: int
    tid: int
    id: int
    style: int
    exstyle: int
    visible: bool
    enabled: bool
    left: int
    top: int
    right: int
    bottom: int
    client_x: int  # client area origin in screen pixels
    client_y: int
    client_width: int
    client_height: int
    class_name: str
    text_bytes: bytes  # the window text read through the wide API, in code page 936

    @property
    def text(self) -> str:
        return self.text_bytes.decode(CODEPAGE)

    @property
    def width(self) -> int:
        return self.right - self.left

    @property
    def height(self) -> int:
        return self.bottom - self.top

    @property
    def center(self):
        return ((self.left + self.right) // 2, (self.top + self.bottom) // 2)

    def contains(self, x: int, y: int) -> bool:
        return self.left <= x < self.right and self.top <= y < self.bottom

    @classmethod
    def parse(cls, token: str) -> "Window":
        fields = token.split(",")
        numbers = [int(f) for f in fields[:18]]
        return cls(*numbers[:8], bool(numbers[8]), bool(numbers[9]), *numbers[10:18],
                   decode_bytes(fields[18]).decode(CODEPAGE, errors="replace"), decode_bytes(fields[19]))


@dataclass
class MessageBox:
    window: Window
    text: str
    buttons: List[str]


@dataclass
class PressTiming:
    """Seconds, wall and processor time of the program: until the dialog went, then from there
    until the awaited status text."""
    close_wall: float
    close_cpu: float
    result_wall: float
    result_cpu: float


def wait_until(probe: Callable, timeout: float, what: str, interval: float = 0.1):
    """Calls probe until it returns something truthy; raises DriverError after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise DriverError(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(interval)


class GuiDriver:
    """One driver process in the current Wine prefix (WINEPREFIX, DISPLAY from the environment)."""

    def __init__(self, driver_exe: str, screenshot_dir: str, reply_timeout: float = 20.0,
                 wine_debug: Optional[str] = None, wine_log: Optional[str] = None):
        """wine_debug (a WINEDEBUG value) applies to the driver and every program it starts,
        whose Wine debug output then goes to the file wine_log."""
        self.screenshot_dir = screenshot_dir
        self.reply_timeout = reply_timeout
        self.wine_log = wine_log
        self._replies: "queue.Queue[Optional[str]]" = queue.Queue()
        environment = dict(os.environ, WINEDEBUG=wine_debug) if wine_debug else None
        log = open(wine_log, "wb") if wine_log else subprocess.DEVNULL
        try:
            self._process = subprocess.Popen(
                ["wine", driver_exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=log,
                cwd=os.path.dirname(driver_exe), start_new_session=True, env=environment)
        finally:
            if wine_log:
                log.close()
        threading.Thread(target=self._read_replies, daemon=True).start()
        self.request("ping", timeout=60)

    # --- protocol -------------------------------------------------------------------------

    def _read_replies(self):
        for line in self._process.stdout:
            self._replies.put(line.decode("ascii", errors="replace").rstrip("\r\n"))
        self._replies.put(None)

    def request(self, verb: str, *args, timeout: Optional[float] = None) -> List[str]:
        """Sends one request; returns the reply's tokens after "OK"."""
        line = " ".join([verb] + [str(a) for a in args]) + "\n"
        try:
            self._process.stdin.write(line.encode("ascii"))
            self._process.stdin.flush()
        except (BrokenPipeError, ValueError) as error:
            raise DriverError("the driver has gone") from error
        try:
            reply = self._replies.get(timeout=timeout or self.reply_timeout)
        except queue.Empty:
            raise DriverError(f"the driver did not answer {verb!r} in time") from None
        if reply is None:
            raise DriverError("the driver has gone")
        tokens = reply.split()
        if tokens and tokens[0] == "OK":
            return tokens[1:]
        message = decode_bytes(tokens[1]).decode(CODEPAGE, "replace") if len(tokens) > 1 else reply
        raise DriverError(f"{verb}: {message}")

    # --- processes ------------------------------------------------------------------------

    def start(self, exe: str, folder: Optional[str] = None, arguments: str = "") -> int:
        """Starts a Windows program (Linux or Windows paths) in the given working folder; returns its pid."""
        exe = exe if ":" in exe else windows_path(exe)
        folder = folder if folder is None or ":" in folder else windows_path(folder)
        return int(self.request("start", encode_text(exe), encode_text(folder or ""),
                                encode_text(arguments))[0])

    def set_environment(self, name: str, value: str):
        """Sets a variable (any characters) for every program started after this."""
        self.request("set_environment", name.encode("utf-8").hex(), value.encode("utf-8").hex())

    def wait_exit(self, pid: int, timeout: float) -> Optional[int]:
        """The exit code, or None while the process still runs after timeout seconds."""
        reply = self.request("wait_exit", pid, int(timeout * 1000), timeout=timeout + 10)
        return int(reply[1]) if reply[0] == "exited" else None

    def kill(self, pid: int):
        self.request("kill", pid)

    def kill_all(self) -> int:
        """Ends every process the driver started that still runs; returns how many there were."""
        return int(self.request("kill_all")[0])

    def cpu_time(self, pid: int) -> float:
        """A process's processor time (user and kernel) in seconds."""
        return int(self.request("cpu_time", pid)[0]) / 1e6

    def time_press(self, button, status, prefix: str, pid: int, timeout: float = 120) -> "PressTiming":
        """Presses a dialog button (BM_CLICK) and times, inside the driver, how long its dialog
        takes to go and then how long until the status window's text begins with prefix."""
        reply = self.request("time_press", _hwnd(button), _hwnd(status), encode_text(prefix), pid,
                             int(timeout * 1000), timeout=timeout + 10)
        return PressTiming(*(int(t) / 1e6 for t in reply))

    def redraw(self, window) -> float:
        """Seconds a full repaint of the window and all its children takes (RedrawWindow with
        RDW_UPDATENOW waits for the owning process to paint)."""
        return int(self.request("redraw", _hwnd(window))[0]) / 1e6

    def codepage(self) -> int:
        return int(self.request("codepage")[0])

    def region_size(self, window):
        """(width, height) of the bounds of the window's region, (0, 0) when it has none."""
        width, height = map(int, self.request("region_size", _hwnd(window)))
        return width, height

    def system_metric(self, index: int) -> int:
        return int(self.request("metric", index)[0])

    # --- windows --------------------------------------------------------------------------

    def windows(self, pid: int = 0) -> List[Window]:
        """Every top-level window, hidden ones included (of one process when pid is given)."""
        return [Window.parse(t) for t in self.request("list_top", pid)]

    def children(self, parent: Union[int, Window]) -> List[Window]:
        """Every descendant of a window, in Z order, grandchildren included."""
        return [Window.parse(t) for t in self.request("list_children", _hwnd(parent))]

    def info(self, window: Union[int, Window]) -> Optional[Window]:
        """A fresh look at a window, or None when it no longer exists."""
        try:
            return Window.parse(self.request("info", _hwnd(window))[0])
        except DriverError:
            return None

    def find_windows(self, class_name=None, text: TextMatch = None, pid: int = 0,
                     visible: Optional[bool] = None) -> List[Window]:
        return [w for w in self.windows(pid) if _window_matches(w, class_name, text, visible)]

    def wait_window(self, class_name=None, text: TextMatch = None, pid: int = 0,
                    visible: Optional[bool] = True, timeout: float = 15) -> Window:
        """Waits for a top-level window by class and/or caption (str: exact, regex: search)."""
        found = wait_until(lambda: self.find_windows(class_name, text, pid, visible), timeout,
                           f"a window of class {class_name!r} with text {text!r}")
        return found[0]

    def wait_gone(self, window: Union[int, Window], timeout: float = 10):
        """Waits until a window is destroyed or hidden."""
        def gone():
            # One reading: the window may vanish between two.
            current = self.info(window)
            return current is None or not current.visible
        wait_until(gone, timeout, f"window {_hwnd(window)} to close")

    def find_children(self, parent, class_name=None, text: TextMatch = None, control_id=None,
                      visible: Optional[bool] = None) -> List[Window]:
        return [w for w in self.children(parent) if _window_matches(w, class_name, text, visible)
                and (control_id is None or w.id == control_id)]

    def wait_child(self, parent, class_name=None, text: TextMatch = None, control_id=None,
                   visible: Optional[bool] = True, timeout: float = 10) -> Window:
        found = wait_until(lambda: self.find_children(parent, class_name, text, control_id, visible), timeout,
                           f"a control of class {class_name!r} text {text!r} id {control_id!r}")
        return found[0]

    def child_at(self, parent, x: int, y: int) -> Optional[Window]:
        """The innermost visible control under a point given relative to the parent's client area."""
        base = self.info(parent)
        sx, sy = base.client_x + x, base.client_y + y
        hits = [w for w in self.children(parent) if w.visible and w.contains(sx, sy)]
        return min(hits, key=lambda w: w.width * w.height) if hits else None

    def text(self, window) -> str:
        return self.info(window).text

    def set_text(self, window, text: str):
        try:
            self.request("set_text", _hwnd(window), encode_text(text))
        except UnicodeEncodeError:  # beyond code page 936: it crosses as UTF-8
            self.request("set_text_utf8", _hwnd(window), text.encode("utf-8").hex())

    def wide_text(self, window) -> str:
        """The window's text whole, also where code page 936 cannot hold it."""
        return decode_bytes(self.request("text_utf8", _hwnd(window))[0]).decode("utf-8")

    def send(self, window, message: int, wparam: int = 0, lparam: int = 0) -> int:
        return int(self.request("send", _hwnd(window), message, wparam, lparam)[0])

    def post(self, window, message: int, wparam: int = 0, lparam: int = 0):
        self.request("post", _hwnd(window), message, wparam, lparam)

    def is_checked(self, button) -> bool:
        return self.send(button, BM_GETCHECK) == 1

    def close(self, window):
        self.post(window, WM_CLOSE)

    def active(self):
        """(foreground window, focused control of its thread) handles."""
        foreground, focus, _ = (int(t) for t in self.request("active"))
        return foreground, focus

    # --- real input through the X server -------------------------------------------------

    def x_window(self, window) -> int:
        """The X window of a top-level window (0 when it has none)."""
        return int(self.request("xwindow", self._top_level(window).hwnd)[0])

    def focus(self, window):
        """Makes a top-level window the foreground window and gives it the X keyboard focus."""
        top = self._top_level(window)
        self.request("foreground", top.hwnd)
        xid = int(self.request("xwindow", top.hwnd)[0])
        if xid:
            _xdotool("windowfocus", "--sync", str(xid))
        wait_until(lambda: self.active()[0] == top.hwnd, 5, f"window {top.hwnd} to become active")

    def mouse_move(self, x: int, y: int):
        # --sync waits for the pointer to move, which it never does when it is there already.
        if self.cursor() != (x, y):
            _xdotool("mousemove", "--sync", str(x), str(y))

    def cursor(self):
        """The pointer's screen position."""
        x, y = (int(t) for t in self.request("cursor"))
        return x, y

    def click(self, x: int, y: int, button: int = 1, count: int = 1):
        """Moves the pointer to a screen point and clicks (button 1 left, 3 right)."""
        self.mouse_move(x, y)
        _xdotool("click", "--repeat", str(count), "--delay", "80", str(button))
        time.sleep(0.1)

    def click_window(self, window, x: Optional[int] = None, y: Optional[int] = None,
                     button: int = 1, count: int = 1):
        """Clicks at a point relative to a window's client area, or at its centre."""
        w = self.info(window)
        if x is None:
            self.click(*w.center, button=button, count=count)
        else:
            self.click(w.client_x + x, w.client_y + y, button=button, count=count)

    def right_click_window(self, window, x=None, y=None):
        self.click_window(window, x, y, button=3)

    def double_click_window(self, window, x=None, y=None):
        self.click_window(window, x, y, count=2)

    def key(self, *keys: str):
        """Presses key combinations in X keysym names: "ctrl+g", "Escape", "F1", "alt+F4", "Return"."""
        _xdotool("key", "--delay", "50", *keys)
        time.sleep(0.1)

    def type_text(self, text: str):
        """Types ASCII text key by key (for other texts use set_text)."""
        if not text.isascii():
            raise ValueError("xdotool types ASCII only; use set_text for other texts")
        _xdotool("type", "--delay", "30", text)
        time.sleep(0.1)

    # --- dialogs -------------------------------------------------------------------------

    def wait_dialog(self, pid: int = 0, text: TextMatch = None, timeout: float = 15) -> Window:
        """Waits for a visible standard dialog (class #32770) of a process."""
        return self.wait_window("#32770", text, pid, True, timeout)

    def find_button(self, dialog, caption: TextMatch = None, control_id: Optional[int] = None) -> Window:
        """A visible button of a dialog by caption or control id, waited for up to 10 s."""
        buttons = wait_until(lambda: self.find_children(dialog, None, caption, control_id, visible=True), 10,
                             f"a button {caption!r} id {control_id!r}")
        # A list view can share the OK button's id 1: prefer what is a button by its class.
        return next((b for b in buttons if re.search("button|btn", b.class_name, re.I)), buttons[0])

    def press_button(self, dialog, caption: TextMatch = None, control_id: Optional[int] = None,
                     real_click: bool = True):
        """Presses a button of a dialog found by caption ("是", "是(&Y)", a regex) or control id.

        With real_click the mouse clicks it through the X server; otherwise BM_CLICK is posted."""
        button = self.find_button(dialog, caption, control_id)
        if real_click:
            self.focus(dialog)
            self.click(*button.center)
        else:
            self.post(button, BM_CLICK)
        return button

    def answer_file_dialog(self, file_name: str, pid: int = 0, timeout: float = 15) -> Window:
        """Fills the file name (Linux or Windows path) of an open or save dialog and presses its
        OK (Open/Save) button; raises DriverError with the text of any complaint it shows."""
        dialog = self.fill_file_dialog(file_name, pid, timeout)
        self.press_button(dialog, control_id=IDOK)
        self._wait_dialog_closed(dialog, timeout)
        return dialog

    def fill_file_dialog(self, file_name: str, pid: int = 0, timeout: float = 15) -> Window:
        """Waits for an open or save dialog and types the file name into it; returns the dialog."""
        dialog = self.wait_file_dialog(pid, timeout)
        time.sleep(0.3)
        edit = self._file_name_edit(dialog)
        self.set_text(edit, file_name if ":" in file_name else windows_path(file_name))
        return dialog

    def answer_folder_dialog(self, folder: str, pid: int = 0, timeout: float = 15) -> Window:
        """Selects a folder (Windows or Linux path) in a folder browser and presses OK."""
        dialog = self.wait_dialog(pid, timeout=timeout)
        tree = self.wait_child(dialog, "SysTreeView32")
        wait_until(lambda: self.send(tree, TVM_GETCOUNT) > 0, timeout, "the folder tree")
        folder = folder if ":" in folder else windows_path(folder)
        # Choose the drive, then open the path folder by folder as a user would: deep paths
        # given at once are not always found by the dialog.
        drive, *folders = folder.rstrip("\\").split("\\")
        self.request("browse_select", dialog.hwnd, encode_text(drive + "\\"))
        wait_until(lambda: drive.lower() in self.tree_selection(tree).lower(), timeout, f"the drive {drive}")
        for name in folders:
            if not int(self.request("tree_select_child", tree.hwnd, encode_text(name))[0]):
                raise DriverError(f"the folder browser shows no folder {name!r} in {self.tree_selection(tree)!r}")
        self.press_button(dialog, control_id=IDOK)
        self._wait_dialog_closed(dialog, timeout)
        return dialog

    def tree_selection(self, tree) -> str:
        """The text of a tree view's selected item."""
        return decode_bytes(self.request("tree_selection", _hwnd(tree))[0]).decode(CODEPAGE)

    def combo_items(self, combo):
        """(index of the selected item, [item texts]) of a combo box."""
        reply = self.request("combo_items", _hwnd(combo))
        return int(reply[0]), [decode_bytes(t).decode(CODEPAGE) for t in reply[1:]]

    def drop(self, x: int, y: int, *paths: str) -> int:
        """Drops files (Linux paths) at a screen point as Explorer does; the handle of the window
        that took them, 0 when no window there accepts files."""
        names = [windows_path(p).encode("utf-8").hex() for p in paths]
        return int(self.request("drop", x, y, *names)[0])

    def drop_target(self, x: int, y: int) -> int:
        """The window a drop at the point would go to (0 for none), without a message to it."""
        return int(self.request("drop_target", x, y)[0])

    def wait_file_dialog(self, pid: int = 0, timeout: float = 15) -> Window:
        """An open or save dialog once its folder view is up (filled before that, the dialog may
        reset or reject a file name)."""
        dialog = self.wait_dialog(pid, timeout=timeout)
        wait_until(lambda: self.find_children(dialog, "SysListView32", visible=True), timeout,
                   "the file dialog's folder view")
        return dialog

    def file_type_choice(self, dialog):
        """The file dialog's file type list: (index of the chosen type, [type texts])."""
        for child in self.children(dialog):
            if child.class_name == "ComboBox" and child.id == 0x470:
                return self.combo_items(child)
        raise DriverError("the dialog has no file type list")

    def _wait_dialog_closed(self, dialog: Window, timeout: float):
        def closed_or_complaint():
            now = self.info(dialog)
            if now is None or not now.visible:
                return "closed"
            complaints = [w for w in self.find_windows("#32770", pid=dialog.pid, visible=True) if w.owner == dialog.hwnd]
            return complaints and complaints[0]
        outcome = wait_until(closed_or_complaint, timeout, "the dialog to close")
        if outcome != "closed":
            box = self.wait_message_box(dialog.pid, outcome.text)
            raise DriverError(f"the dialog complained: {box.window.text}: {box.text}")

    def wait_message_box(self, pid: int = 0, caption: TextMatch = None, timeout: float = 15) -> MessageBox:
        """Waits for a message box (or any dialog) and reads its text and button captions."""
        dialog = self.wait_dialog(pid, caption, timeout)
        controls = self.children(dialog)
        texts = [c.text for c in controls if c.class_name.lower() == "static" and c.text]
        buttons = [SYSTEM_WORDS.get(c.text, c.text) for c in controls if c.class_name.lower() == "button" and c.visible]
        return MessageBox(dialog, "\n".join(texts), buttons)

    def _file_name_edit(self, dialog) -> Window:
        # The file name box is the combo box cmb13 (0x47C, its edit inside) in explorer-style
        # dialogs, the edit edt1 (0x480) in older ones.
        controls = self.children(dialog)
        combos = {w.hwnd for w in controls if w.id == 0x47C}
        edits = [w for w in controls if w.class_name == "Edit" and w.visible]
        for edit in edits:
            if edit.id in (0x47C, 0x480) or edit.parent in combos:
                return edit
        if not edits:
            raise DriverError("the dialog has no file name box")
        return edits[0]

    def _top_level(self, window) -> Window:
        current = self.info(window)
        while current.parent and current.style & 0x40000000:  # WS_CHILD
            current = self.info(current.parent)
        return current

    # --- screenshots ---------------------------------------------------------------------

    def screenshot(self, name: str, window=None) -> str:
        """Saves the screen, or one window's frame, as <screenshot_dir>/<name>.png; returns the path."""
        os.makedirs(self.screenshot_dir, exist_ok=True)
        path = os.path.join(self.screenshot_dir, name + ".png")
        command = ["import", "-silent", "-window", "root"]
        if window is not None:
            w = self.info(window)
            command += ["-crop", f"{w.width}x{w.height}+{w.left}+{w.top}", "+repage"]
        subprocess.run(command + [path], check=True, timeout=30)
        return path

    # --- end ----------------------------------------------------------------------------

    def shutdown(self) -> int:
        """Ends every program the driver started, then the driver; returns how many still ran."""
        leftover = 0
        try:
            leftover = int(self.request("quit", timeout=30)[0])
            self._process.wait(timeout=15)
        except (DriverError, subprocess.TimeoutExpired):
            self._process.kill()
            self._process.wait(timeout=15)
        finally:
            self._process.stdin.close()
        return leftover


def _hwnd(window) -> int:
    return window.hwnd if isinstance(window, Window) else int(window)


def _window_matches(window: Window, class_name, text: TextMatch, visible: Optional[bool]) -> bool:
    return ((class_name is None or window.class_name == class_name) and text_matches(window.text, text)
            and (visible is None or window.visible == visible))


def _xdotool(*args: str):
    subprocess.run(["xdotool", *args], check=True, timeout=30, stdout=subprocess.DEVNULL)
