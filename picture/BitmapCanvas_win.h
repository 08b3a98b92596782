#pragma once
// A bitmap's canvas: makes a memory context with the bitmap's image selected on demand, and
// gives the image back (FreeContext) whenever the image is needed elsewhere or replaced.
#include "toolkit/Canvas_win.h"

class TBitmap;

class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override;

    // Deselects the image and deletes the context; the next drawing makes a new one.
    void FreeContext();
    // Drawing on a bitmap's canvas goes through these so that raw-context users can bracket
    // their own drawing the same way.
    using TCanvas::Changed;
    using TCanvas::Changing;

protected:
    void CreateHandle() override;

private:
    TBitmap& bitmap_;
    HDC ownDC_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    HPALETTE previousPalette_ = nullptr;
};
