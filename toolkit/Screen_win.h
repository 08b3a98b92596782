#pragma once
// The screen: the cursor the whole program shows (the hourglass while files are written),
// the fonts of menus and hints, and the desktop's size.
#include <windows.h>

#include "toolkit/Control_win.h"
#include "toolkit/GraphicsObjects_win.h"

class TScreen {
public:
    TScreen();
    TScreen(const TScreen&) = delete;
    TScreen& operator=(const TScreen&) = delete;

    // crDefault lets every control show its own cursor; anything else overrides them all.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    HCURSOR CursorHandle(TCursor cursor) const;

    // The font the skin engine draws menus in; the system draws plain menus itself.
    TFont& MenuFont() { return menuFont_; }
    TFont& HintFont() { return hintFont_; }

    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    RECT WorkArea() const;

private:
    TCursor cursor_ = crDefault;
    TFont menuFont_;
    TFont hintFont_;
};

extern TScreen* Screen;
