"""Watching the display while the program is busy and answers no messages: xwatch/xwatch.c,
built once per test module with the system's C compiler, reports each change of the pointer's
cursor and of a rectangle of the screen, timed."""

import os
import subprocess
import time

import pytest

XWATCH_SOURCE = os.path.join(os.path.dirname(__file__), "xwatch", "xwatch.c")


@pytest.fixture(scope="module")
def xwatch(tmp_path_factory):
    program = str(tmp_path_factory.mktemp("xwatch") / "xwatch")
    subprocess.run(["cc", "-O2", "-o", program, XWATCH_SOURCE, "-lX11", "-lXfixes"], check=True, timeout=120)
    return program


def watch(xwatch, edit, seconds, prefix=None):
    """Starts watching the inside of an edit on the display; .communicate() gives the changes.
    Its frame is left out: a dialog closed over it is repainted only once the program is idle."""
    inset = 3
    return subprocess.Popen([xwatch, str(seconds), str(edit.left + inset), str(edit.top + inset),
                             str(edit.width - 2 * inset), str(edit.height - 2 * inset)] + ([prefix] if prefix else []),
                            stdout=subprocess.PIPE, text=True)


def stop(watcher, linger=0.5):
    """Ends a watch early, a moment after the program's texts tell the change is done (the
    screen follows once it is idle); the changes it reported until then."""
    time.sleep(linger)
    watcher.terminate()
    return changes(watcher.communicate(timeout=30)[0])


def changes(out):
    """[(milliseconds, cursor serial, hash)] from xwatch's lines."""
    return [(int(ms), int(serial), digest) for ms, serial, digest in (line.split() for line in out.splitlines())]


def watch_text_look(xwatch, edit, work_dir):
    """The hash under which the edit's current look shows in xwatch's reports."""
    return changes(watch(xwatch, edit, 0.3, work_dir + "/reference-").communicate(timeout=30)[0])[-1][2]


def shown_while_busy(seen, look):
    """Checks that `look` showed in the watched rectangle and stayed at least 50 ms before
    another look replaced it; returns (the cursors seen meanwhile, the cursors seen after)."""
    busy = [(ms, cursor) for ms, cursor, digest in seen if digest == look]
    assert busy, f"the look never showed: {seen}"
    after = [(ms, cursor) for ms, cursor, digest in seen if ms > busy[0][0] and digest != look]
    assert after and after[0][0] - busy[0][0] >= 50, seen
    return [cursor for _, cursor in busy], [cursor for _, cursor in after]
