#pragma once
// What a GIF picture keeps for showing itself: the picture bitmap (the first frame on the
// logical screen, which painters then change frame by frame), its palette, the painters
// that play it and the painters' notification hooks.
#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "toolkit/GdiGuards_win.h"

class TBitmap;
class TGIFPainter;

using TGIFPainterNotify = std::function<void(TGIFPainter* painter)>;

struct TGIFDisplayState {
    TGIFDisplayState();
    ~TGIFDisplayState();

    std::unique_ptr<TBitmap> pictureBitmap;
    TPaletteHandle palette;
    bool drawing = false;  // a draw of this picture is in progress

    // Guards painters and drawPainter; painters take it from their own threads.
    std::recursive_mutex painterLock;
    std::vector<TGIFPainter*> painters;
    TGIFPainter* drawPainter = nullptr;

    // The painters' hooks, each called on the user-interface thread.
    TGIFPainterNotify OnStartPaint, OnPaint, OnAfterPaint, OnLoop, OnEndPaint;
};
