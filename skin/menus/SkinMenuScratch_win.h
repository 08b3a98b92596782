#pragma once
// Off-screen room the menu painters draw in before a picture goes to the display. Menus open
// often and repaint item by item; making and freeing a bitmap and a device context for every
// item cost more than drawing it. The room is kept between paints and only grows.
#include <windows.h>

#include <memory>

#include "toolkit/GdiGuards_win.h"

class TMenuScratch {
public:
    // A memory context holding at least `size` pixels (compatible with the screen). When the
    // kept room is in use already (a painter inside a painter), a room of its own is made.
    explicit TMenuScratch(SIZE size);
    ~TMenuScratch();
    TMenuScratch(const TMenuScratch&) = delete;
    TMenuScratch& operator=(const TMenuScratch&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    struct TRoom;
    static TRoom& KeptRoom();
    std::unique_ptr<TRoom> own_;
    TRoom* room_ = nullptr;
    HDC dc_ = nullptr;
    int saved_ = 0;  // the context's state before the painter changed it
};
