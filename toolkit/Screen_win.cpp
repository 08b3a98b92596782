#include "toolkit/Screen_win.h"

#include "toolkit/WideText_win.h"

namespace {

TScreen g_screen;

void TakeSystemFont(TFont& font, const LOGFONTW& system) {
    font.SetFaceName(system.lfFaceName);
    font.SetHeight(system.lfHeight);
    font.SetCharset(system.lfCharSet);
}

}  // namespace

TScreen* Screen = &g_screen;

TScreen::TScreen() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        TakeSystemFont(menuFont_, metrics.lfMenuFont);
        TakeSystemFont(hintFont_, metrics.lfStatusFont);
    }
    menuFont_.SetColor(clSystemColor | COLOR_MENUTEXT);
    hintFont_.SetColor(clSystemColor | COLOR_INFOTEXT);
}

void TScreen::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    if (cursor == crDefault) {
        // Let the window under the pointer choose again.
        POINT point;
        GetCursorPos(&point);
        SetCursorPos(point.x, point.y);
    } else {
        ::SetCursor(CursorHandle(cursor));
    }
}

HCURSOR TScreen::CursorHandle(TCursor cursor) const {
    LPCSTR id = IDC_ARROW;
    switch (cursor) {
    case crHourGlass:
        id = IDC_WAIT;
        break;
    case crHandPoint:
        id = IDC_HAND;
        break;
    case crIBeam:
        id = IDC_IBEAM;
        break;
    default:
        break;
    }
    return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(id));
}

RECT TScreen::WorkArea() const {
    RECT area{0, 0, Width(), Height()};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}
