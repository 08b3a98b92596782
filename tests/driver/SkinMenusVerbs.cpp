// Timing a menu bar: the click on an item until its menu is on the display, and placing a
// window out of the way of another one being timed.
#include <windows.h>

#include <cstdint>

#include "DriverCommands.h"
#include "WindowSearch.h"

namespace {

HWND VisiblePopupMenu(DWORD pid) {
    for (HWND window : TopLevelWindows(pid)) {
        char name[16] = "";
        GetClassNameA(window, name, sizeof name);
        RECT rect{};
        GetWindowRect(window, &rect);
        if (lstrcmpA(name, "#32768") == 0 && IsWindowVisible(window) && rect.right - rect.left > 8) return window;
    }
    return nullptr;
}

// Moves the pointer to (x, y), then (when the clock starts) presses and releases the left button.
void SendClick(int x, int y, LARGE_INTEGER& pressed) {
    int width = GetSystemMetrics(SM_CXSCREEN) - 1, height = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT inputs[3]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = x * 65535 / width;
        input.mi.dy = y * 65535 / height;
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &inputs[0], sizeof(INPUT));
    Sleep(50);
    QueryPerformanceCounter(&pressed);
    SendInput(2, &inputs[1], sizeof(INPUT));
}

// time_menu_open <x> <y> <pid> <timeout ms>: microseconds from the press at (x, y) until a
// popup menu of the process is visible and painted (0 when none came).
TReply TimeMenuOpen(const TRequest& request) {
    int x = static_cast<int>(request.Number(0)), y = static_cast<int>(request.Number(1));
    DWORD pid = static_cast<DWORD>(request.Number(2)), timeout = static_cast<DWORD>(request.Number(3));
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    SendClick(x, y, start);
    DWORD began = GetTickCount();
    HWND popup = nullptr;
    while (!(popup = VisiblePopupMenu(pid)) && GetTickCount() - began < timeout) Sleep(1);
    // Whatever of it still waits to be painted is painted before the clock stops.
    if (popup) RedrawWindow(popup, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    QueryPerformanceCounter(&now);
    long long elapsed = popup ? (now.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart : 0;
    return TReply().Add(elapsed);
}

// place_window <hwnd> <left> <top> <width> <height>: moves and sizes a top-level window.
TReply PlaceWindow(const TRequest& request) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(request.Number(0)));
    BOOL placed = SetWindowPos(window, nullptr, static_cast<int>(request.Number(1)), static_cast<int>(request.Number(2)),
                               static_cast<int>(request.Number(3)), static_cast<int>(request.Number(4)),
                               SWP_NOZORDER | SWP_NOACTIVATE);
    if (!placed) throw DriverError("the window could not be placed");
    return TReply();
}

TExtraVerb timeMenuOpen("time_menu_open", &TimeMenuOpen);
TExtraVerb placeWindow("place_window", &PlaceWindow);

}  // namespace
