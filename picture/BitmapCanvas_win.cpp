#include "picture/BitmapCanvas_win.h"

#include "picture/Bitmap_win.h"
#include "toolkit/Exceptions.h"

TBitmapCanvas::~TBitmapCanvas() { FreeContext(); }

void TBitmapCanvas::CreateHandle() {
    TBitmapImage& image = bitmap_.Image();
    image.Deselect();  // another bitmap's canvas may hold a shared image
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) throw EOutOfResources("Out of system resources");
    if (image.handle) {
        previousBitmap_ = SelectObject(dc, image.handle.Get());
        image.selectedIn = this;
    }
    if (image.palette) {
        previousPalette_ = SelectPalette(dc, image.palette.Get(), TRUE);
        RealizePalette(dc);
    }
    ownDC_ = dc;
    SetHandle(dc);
}

void TBitmapCanvas::FreeContext() {
    if (!ownDC_) return;
    HDC dc = ownDC_;
    SetHandle(nullptr);
    if (previousBitmap_) SelectObject(dc, previousBitmap_);
    if (previousPalette_) SelectPalette(dc, previousPalette_, TRUE);
    previousBitmap_ = nullptr;
    previousPalette_ = nullptr;
    ownDC_ = nullptr;
    DeleteDC(dc);
    TBitmapImage& image = bitmap_.Image();
    if (image.selectedIn == this) image.selectedIn = nullptr;
}
