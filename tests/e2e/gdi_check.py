"""Catches GDI objects deleted while still selected into a device context. Windows refuses to
delete such an object and keeps it for good; Wine defers the deletion instead and says so on
its gdi channel ("delayed for <handle> because object in use"), so under Wine a test sees the
fault only in that output.

Wine's own dialogs do it too (the file dialogs' image lists), so each deferred deletion is laid
at the door of whoever called DeleteObject: Wine's relay trace of that one call gives the
return address, and only calls from within the program's executable count.

    @GDI_CHECK
    def test_something(driver, tervane):
        deletions = DeferredDeletions(driver, tervane_exe)
        ...                                    # an operation
        deletions.assert_none("saving an icon")  # fails on any such deletion since the last check
"""

import re
import struct

import pytest

GDI_CHANNEL = "-all,trace+gdi,+relay"
GDI_CHECK = pytest.mark.wine_debug(GDI_CHANNEL, relay="gdi32.DeleteObject")

DELETE_CALL = re.compile(r"^([0-9a-f]+):Call gdi32\.DeleteObject\(([0-9a-f]+)\) ret=([0-9a-f]+)")
DEFERRED = re.compile(r"^([0-9a-f]+):trace:gdi:\w+ delayed for (?:0x)?([0-9a-f]+) because object in use")


def image_range(exe):
    """The addresses a Windows executable occupies once loaded (its preferred base and size)."""
    with open(exe, "rb") as image:
        header = image.read(4096)
    pe = struct.unpack_from("<I", header, 0x3C)[0]
    base, = struct.unpack_from("<I", header, pe + 24 + 28)
    size, = struct.unpack_from("<I", header, pe + 24 + 56)
    return base, base + size


class DeferredDeletions:
    """Reads the driver's Wine log (see the wine_debug mark in conftest.py) a piece at a time."""

    def __init__(self, driver, exe):
        assert driver.wine_log, "the test needs the @GDI_CHECK mark"
        self.path = driver.wine_log
        self.program = image_range(exe)
        self.read_to = 0
        self.last_call = {}  # thread -> (handle, return address) of its last DeleteObject

    def new_faults(self):
        """The program's deletions of selected objects since the last call, as log lines."""
        with open(self.path, "rb") as log:
            log.seek(self.read_to)
            data = log.read()
        complete = data[:data.rfind(b"\n") + 1]
        self.read_to += len(complete)
        faults = []
        for line in complete.decode("ascii", "replace").splitlines():
            call = DELETE_CALL.match(line)
            if call:
                self.last_call[call[1]] = (int(call[2], 16), int(call[3], 16))
                continue
            deferred = DEFERRED.match(line)
            if not deferred:
                continue
            handle, caller = self.last_call.get(deferred[1], (None, None))
            if handle != int(deferred[2], 16):
                faults.append(line + " (caller unknown)")  # not through gdi32: not Wine's dialogs either
            elif self.program[0] <= caller < self.program[1]:
                faults.append(f"{line} (DeleteObject called from {caller:#x})")
        return faults

    def assert_none(self, operation):
        faults = self.new_faults()
        assert not faults, f"{operation}: {len(faults)} GDI objects deleted while selected, e.g. {faults[:3]}"
