#include "gif/show/GifFrameDrawing_win.h"

#include <algorithm>

#include "gif/show/GifPicture_win.h"
#include "gif/show/GifRenderer_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/ScreenDevice_win.h"

namespace {

int Scaled(int offset, int extent, int screen) { return screen > 0 ? MulDiv(offset, extent, screen) : offset; }

// Stretches source into dest so that pixels under set mask bits leave dest unchanged.
void StretchThroughMask(HDC dest, const RECT& to, HDC source, HBITMAP mask, int width, int height) {
    TBitmapHandle opaque(CreateCompatibleBitmapFor(dest, width, height));
    {
        TMemoryDC masked(dest, opaque.Get()), maskDc(dest, mask);
        // The frame with its transparent pixels black, for OR-ing over the cleared area.
        BitBlt(masked.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
        SetBkColor(masked.Get(), RGB(255, 255, 255));
        SetTextColor(masked.Get(), RGB(0, 0, 0));
        BitBlt(masked.Get(), 0, 0, width, height, maskDc.Get(), 0, 0, 0x00220326 /* DSna */);
        const COLORREF oldBk = SetBkColor(dest, RGB(255, 255, 255));
        const COLORREF oldText = SetTextColor(dest, RGB(0, 0, 0));
        const int w = to.right - to.left, h = to.bottom - to.top;
        StretchBlt(dest, to.left, to.top, w, h, maskDc.Get(), 0, 0, width, height, SRCAND);
        StretchBlt(dest, to.left, to.top, w, h, masked.Get(), 0, 0, width, height, SRCPAINT);
        SetBkColor(dest, oldBk);
        SetTextColor(dest, oldText);
    }
}

void DrawBitmapInto(HDC dc, const RECT& to, HDC source, HBITMAP mask, int width, int height) {
    if (mask) {
        StretchThroughMask(dc, to, source, mask, width, height);
        return;
    }
    StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, source, 0, 0, width, height, SRCCOPY);
}

// Each tile at the bitmap's own size, cut at the rectangle's right and bottom edges.
template <typename DrawTile>
void ForEachTile(const RECT& rect, int width, int height, DrawTile draw) {
    if (width <= 0 || height <= 0) return;
    for (int y = rect.top; y < rect.bottom; y += height)
        for (int x = rect.left; x < rect.right; x += width) {
            const int w = std::min(width, static_cast<int>(rect.right) - x);
            const int h = std::min(height, static_cast<int>(rect.bottom) - y);
            draw(RECT{x, y, x + w, y + h}, w, h);
        }
}

}  // namespace

RECT GifFrameArea(const TGIFImage& image, const TGIFSubImage& frame, const RECT& rect) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    return RECT{rect.left + Scaled(frame.Left(), width, image.Width()),
                rect.top + Scaled(frame.Top(), height, image.Height()),
                rect.left + Scaled(frame.Left() + frame.Width(), width, image.Width()),
                rect.top + Scaled(frame.Top() + frame.Height(), height, image.Height())};
}

void DrawGifFrame(HDC dc, const TGIFImage& image, TGIFSubImage& frame, const RECT& rect, bool transparent,
                  bool tile) {
    if (frame.Empty()) return;
    TBitmap& bitmap = GifFrameBitmap(image, frame);
    HBITMAP mask = transparent && frame.Transparent ? GifFrameMask(image, frame) : nullptr;
    HDC source = bitmap.Canvas().Handle();
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    if (tile)
        ForEachTile(rect, frame.Width(), frame.Height(), [&](const RECT& to, int w, int h) {
            DrawBitmapInto(dc, to, source, mask, w, h);
        });
    else
        DrawBitmapInto(dc, GifFrameArea(image, frame, rect), source, mask, frame.Width(), frame.Height());
    SetStretchBltMode(dc, oldMode);
}

void DrawBitmapScaledOrTiled(HDC dc, const RECT& rect, TBitmap& bitmap, bool tile) {
    HDC source = bitmap.Canvas().Handle();
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    if (tile)
        ForEachTile(rect, bitmap.Width(), bitmap.Height(), [&](const RECT& to, int w, int h) {
            BitBlt(dc, to.left, to.top, w, h, source, 0, 0, SRCCOPY);
        });
    else
        StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0,
                   bitmap.Width(), bitmap.Height(), SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

