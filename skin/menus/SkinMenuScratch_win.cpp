#include "toolkit/ScreenDevice_win.h"
#include "skin/menus/SkinMenuScratch_win.h"

#include <algorithm>

// Declared in this order so that the bitmap is put out of the context, then freed, then the
// context deleted.
struct TMenuScratch::TRoom {
    TMemoryDC dc;
    TBitmapHandle bitmap;
    std::unique_ptr<TSelection> selected;
    SIZE size{};
    bool inUse = false;

    bool Hold(SIZE wanted) {
        if (!dc) return false;
        if (bitmap && wanted.cx <= size.cx && wanted.cy <= size.cy) return true;
        SIZE grown{std::max(wanted.cx, size.cx), std::max(wanted.cy, size.cy)};
        selected.reset();
        bitmap.Reset(CreateScreenBitmap(grown.cx, grown.cy));
        size = bitmap ? grown : SIZE{};
        if (bitmap) selected = std::make_unique<TSelection>(dc.Get(), bitmap.Get());
        return static_cast<bool>(bitmap);
    }
};

TMenuScratch::TRoom& TMenuScratch::KeptRoom() {
    static TRoom room;
    return room;
}

TMenuScratch::TMenuScratch(SIZE size) {
    if (size.cx <= 0 || size.cy <= 0) return;
    TRoom& kept = KeptRoom();
    if (kept.inUse) own_ = std::make_unique<TRoom>();
    TRoom* room = own_ ? own_.get() : &kept;
    if (!room->Hold(size)) return;
    room->inUse = true;
    room_ = room;
    dc_ = room->dc.Get();
    saved_ = SaveDC(dc_);
}

TMenuScratch::~TMenuScratch() {
    if (!room_) return;
    if (saved_) RestoreDC(dc_, saved_);
    room_->inUse = false;
}
