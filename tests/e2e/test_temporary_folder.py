"""A user whose temporary folder is named in characters that code page 936 cannot hold (a
Korean account, 김민수): the program started with TEMP and TMP there is dressed all the same,
and leaves nothing behind in that folder."""

import os

from conftest import start_tervane
from tervane_driver import windows_path


def test_the_program_is_dressed_with_a_korean_temporary_folder(driver, tervane_exe, work_dir):
    temp = os.path.join(work_dir, "김민수", "Temp")
    os.makedirs(temp)
    for name in ("TEMP", "TMP"):
        driver.set_environment(name, windows_path(temp))
    run = start_tervane(driver, tervane_exe, timeout=20)  # waits until its outline is cut
    assert driver.region_size(run.window) == (run.window.width, run.window.height)
    driver.screenshot("temporary_folder_korean", run.window)
    assert os.listdir(temp) == [], "the skin's settings file is removed after reading"
    assert run.close_and_wait() == 0
