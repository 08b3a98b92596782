#pragma once
// Window coordinates: 0,0 is the top-left corner of the whole window, frame included, as the
// non-client painting and hit testing use them.
#include <windows.h>

POINT ScreenToWindowPoint(HWND window, POINT screen);
POINT WindowToScreenPoint(HWND window, POINT windowPoint);
