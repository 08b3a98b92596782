#pragma once
// Files dropped onto a window (WM_DROPFILES, from Explorer or from Wine's own drag and drop):
// the first dropped name, as the system spells it; the drop's memory is released.
#include <windows.h>

#include <string>

std::wstring TakeFirstDroppedFile(HDROP drop);
