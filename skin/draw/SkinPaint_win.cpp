#include "skin/draw/SkinPaint_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/draw/SkinElementLayout.h"
#include "toolkit/ScreenDevice_win.h"
#include "toolkit/Canvas_win.h"

namespace {

RECT ToRect(const TSkinRect& r, int dx = 0, int dy = 0) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

bool IsFrameBorder(const std::string& name) {
    return name == "Left" || name == "Right" || name == "Top" || name == "Bottom";
}

// Repeats `source` at its own size over `target`, clipped at the target's right and bottom.
void TileInto(HDC dc, const RECT& target, HDC source, const TSkinRect& from, DWORD rop) {
    for (int y = target.top; y < target.bottom; y += from.Height()) {
        int height = std::min<int>(from.Height(), target.bottom - y);
        for (int x = target.left; x < target.right; x += from.Width()) {
            int width = std::min<int>(from.Width(), target.right - x);
            BitBlt(dc, x, y, width, height, source, from.left, from.top, rop);
        }
    }
}

// Draws the nine parts of one cell of `source` with the target's top-left at (x, y).
void PaintNineParts(HDC dc, int x, int y, SIZE size, HDC source, const TSkinRect& cellRect,
                    const TSkinElementStyle& style, DWORD rop) {
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    for (const TNinePart& part : NinePartLayout(cellRect, size.cx, size.cy, style.margins)) {
        RECT target = ToRect(part.target, x, y);
        if (part.centre && style.tiled) {
            TileInto(dc, target, source, part.source, rop);
        } else if (part.source.Width() == part.target.Width() && part.source.Height() == part.target.Height()) {
            BitBlt(dc, target.left, target.top, part.target.Width(), part.target.Height(), source, part.source.left,
                   part.source.top, rop);
        } else {
            StretchBlt(dc, target.left, target.top, part.target.Width(), part.target.Height(), source,
                       part.source.left, part.source.top, part.source.Width(), part.source.Height(), rop);
        }
    }
    SetStretchBltMode(dc, oldMode);
}

TSkinRect CellOf(TBitmap& picture, const TSkinElementStyle& style, int cell) {
    return SkinCellRect(picture.Width(), picture.Height(), style.frames, cell, style.stacked);
}

// The same drawing keyed on magenta, through the mask the picture keeps for it (made once per
// picture): with background white and text black, XOR the picture, AND the mask, XOR the
// picture again. Every pass maps the same source pixels, so the result is the picture's pixels
// where they are opaque and the target's elsewhere, with no copy of the picture made.
template <typename Draw>
void DrawKeyed(HDC dc, TBitmap& picture, const Draw& draw) {
    HBITMAP mask = picture.MaskFor(clFuchsia);
    HDC source = picture.Canvas().Handle();
    if (!mask || !source) return;
    TMemoryDC maskDC(dc);
    TSelection selected(maskDC.Get(), mask);
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    draw(source, SRCINVERT);
    draw(maskDC.Get(), SRCAND);
    draw(source, SRCINVERT);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

bool Drawable(TBitmap& picture, const RECT& rect) {
    return !picture.Empty() && rect.right > rect.left && rect.bottom > rect.top;
}

}  // namespace

TSkinElementStyle ElementStyle(const TDataSkinObject& element) {
    TSkinElementStyle style;
    style.margins = {element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
    style.stacked = SkinCells::Stacked(element.Name.c_str());
    style.tiled = IsFrameBorder(element.Name) ? element.Tile != 1 : element.Tile == 1;
    style.frames = std::max(1, element.FrameCount);
    return style;
}

TBitmapHandle DrawSkinElement(SIZE target, TBitmap& picture, const TSkinElementStyle& style, int cell) {
    if (picture.Empty() || target.cx <= 0 || target.cy <= 0) return TBitmapHandle();
    TBitmapHandle result(CreateScreenBitmap(target.cx, target.cy));
    if (!result) return result;
    TMemoryDC dc;
    TSelection selected(dc.Get(), result.Get());
    PaintNineParts(dc.Get(), 0, 0, target, picture.Canvas().Handle(), CellOf(picture, style, cell), style, SRCCOPY);
    return result;
}

void DrawSkinElementTransparent(HDC dc, const RECT& rect, TBitmap& picture, const TSkinElementStyle& style, int cell,
                                bool transparent) {
    if (!Drawable(picture, rect)) return;
    SIZE size{rect.right - rect.left, rect.bottom - rect.top};
    TSkinRect from = CellOf(picture, style, cell);
    if (!transparent) {
        PaintNineParts(dc, rect.left, rect.top, size, picture.Canvas().Handle(), from, style, SRCCOPY);
        return;
    }
    DrawKeyed(dc, picture, [&](HDC source, DWORD rop) {
        PaintNineParts(dc, rect.left, rect.top, size, source, from, style, rop);
    });
}

void DrawSkinElementClipped(HDC dc, const RECT& rect, const RECT& clip, TBitmap& picture,
                            const TSkinElementStyle& style, int cell) {
    if (!Drawable(picture, rect) || clip.right <= clip.left || clip.bottom <= clip.top) return;
    TSavedDCState saved(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    DrawSkinElementTransparent(dc, rect, picture, style, cell, false);
}

void DrawSkinObject(HDC dc, const RECT& rect, TDataSkinObject& element, int cell) {
    DrawSkinElementTransparent(dc, rect, *element.Picture, ElementStyle(element), cell, element.Trans == 1);
}

void DrawHorizontalThreePart(HDC dc, const RECT& rect, TBitmap& picture, int leftMargin, int rightMargin,
                             const TSkinElementStyle& style, int cell, bool transparent) {
    TSkinElementStyle threePart = style;
    threePart.margins = {leftMargin, 0, rightMargin, 0};
    threePart.tiled = true;
    DrawSkinElementTransparent(dc, rect, picture, threePart, cell, transparent);
}

void DrawCell(HDC dc, const RECT& rect, TBitmap& picture, bool transparent, int frames, int cell, bool stacked) {
    if (!Drawable(picture, rect)) return;
    TSkinRect from = SkinCellRect(picture.Width(), picture.Height(), frames, cell, stacked);
    int width = std::min<int>(from.Width(), rect.right - rect.left);
    int height = std::min<int>(from.Height(), rect.bottom - rect.top);
    if (width <= 0 || height <= 0) return;
    if (!transparent) {
        BitBlt(dc, rect.left, rect.top, width, height, picture.Canvas().Handle(), from.left, from.top, SRCCOPY);
        return;
    }
    DrawKeyed(dc, picture, [&](HDC source, DWORD rop) {
        BitBlt(dc, rect.left, rect.top, width, height, source, from.left, from.top, rop);
    });
}

void DrawTransparent(HDC dc, const RECT& rect, HBITMAP bitmap, COLORREF colour) {
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (!bitmap || width <= 0 || height <= 0) return;
    TMemoryDC source(dc);
    TSelection sourceBitmap(source.Get(), bitmap);
    TBitmapHandle mask(CreateBitmap(width, height, 1, 1, nullptr));
    TMemoryDC maskDC(dc);
    TSelection maskBitmap(maskDC.Get(), mask.Get());
    // A colour-to-monochrome copy turns pixels of the background colour white, the rest black.
    COLORREF oldSourceBack = SetBkColor(source.Get(), colour);
    BitBlt(maskDC.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
    SetBkColor(source.Get(), oldSourceBack);
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, rect.left, rect.top, width, height, source.Get(), 0, 0, SRCINVERT);
    BitBlt(dc, rect.left, rect.top, width, height, maskDC.Get(), 0, 0, SRCAND);
    BitBlt(dc, rect.left, rect.top, width, height, source.Get(), 0, 0, SRCINVERT);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

namespace {

// A region of many rectangles, made in batches (some systems refuse very large region data).
class TRegionBuilder {
public:
    void Add(const RECT& rect) {
        rects_.push_back(rect);
        if (rects_.size() == kBatch) Flush();
    }
    TRegionHandle Finish() {
        Flush();
        if (!region_) region_.Reset(CreateRectRgn(0, 0, 0, 0));
        return std::move(region_);
    }

private:
    static constexpr size_t kBatch = 2000;
    void Flush() {
        if (rects_.empty()) return;
        std::vector<char> data(sizeof(RGNDATAHEADER) + rects_.size() * sizeof(RECT));
        auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
        header->dwSize = sizeof(RGNDATAHEADER);
        header->iType = RDH_RECTANGLES;
        header->nCount = static_cast<DWORD>(rects_.size());
        header->nRgnSize = static_cast<DWORD>(rects_.size() * sizeof(RECT));
        header->rcBound = {0, 0, 0, 0};
        std::memcpy(data.data() + sizeof(RGNDATAHEADER), rects_.data(), rects_.size() * sizeof(RECT));
        TRegionHandle batch(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                            reinterpret_cast<RGNDATA*>(data.data())));
        rects_.clear();
        if (!batch) return;
        if (!region_) {
            region_ = std::move(batch);
        } else {
            CombineRgn(region_.Get(), region_.Get(), batch.Get(), RGN_OR);
        }
    }
    std::vector<RECT> rects_;
    TRegionHandle region_;
};

}  // namespace

TRegionHandle RegionFromBitmap(HBITMAP bitmap, int x, int y, COLORREF colour) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return TRegionHandle();
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;  // top-down rows
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight));
    if (!GetDIBits(MeasuringDC(), bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &format, DIB_RGB_COLORS))
        return TRegionHandle();
    // DIB pixels hold blue in the lowest byte; the fourth byte is not colour.
    uint32_t key = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    TRegionBuilder builder;
    for (int row = 0; row < info.bmHeight; ++row) {
        uint32_t* line = &pixels[static_cast<size_t>(row) * static_cast<size_t>(info.bmWidth)];
        for (int column = 0; column < info.bmWidth; ++column) line[column] &= 0x00FFFFFFu;
        for (const TPixelRun& run : OpaqueRuns(line, info.bmWidth, key))
            builder.Add({x + run.begin, y + row, x + run.end, y + row + 1});
    }
    return builder.Finish();
}
