#pragma once
// A bitmap's canvas: makes a memory context with the bitmap's image selected on demand, and
// gives the image back (FreeContext) whenever the image is needed elsewhere or replaced.
#include <memory>

#include "toolkit/Canvas_win.h"
#include "toolkit/GdiGuards_win.h"

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
    std::unique_ptr<TMemoryDC> context_;  // with the image's bitmap and palette selected
};
