#include "skin/draw/SkinWindowPoints_win.h"

namespace {

POINT WindowOrigin(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top};
}

}  // namespace

POINT ScreenToWindowPoint(HWND window, POINT screen) {
    POINT origin = WindowOrigin(window);
    return {screen.x - origin.x, screen.y - origin.y};
}

POINT WindowToScreenPoint(HWND window, POINT windowPoint) {
    POINT origin = WindowOrigin(window);
    return {origin.x + windowPoint.x, origin.y + windowPoint.y};
}
