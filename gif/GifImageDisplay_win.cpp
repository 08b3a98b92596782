// Showing a GIF picture as a still of its first frame: drawing it into a rectangle and
// giving it to a bitmap.
#include <vector>

#include "gif/GifErrors.h"
#include "gif/GifImage_win.h"
#include "picture/Bitmap_win.h"
#include "toolkit/Canvas_win.h"

namespace {

// An 8-bit device-independent image of a frame with its active colours.
struct TFrameDib {
    std::vector<uint8_t> info;  // BITMAPINFOHEADER and 256 colours
    std::vector<uint8_t> rows;  // padded, bottom row first

    explicit TFrameDib(const TGIFSubImage& frame) {
        const TGIFColorMap& map = frame.ActiveColorMap();
        if (map.Empty()) throw GIFException(GifText::NoColorTable);
        info.assign(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
        auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
        header->biSize = sizeof(BITMAPINFOHEADER);
        header->biWidth = frame.Width();
        header->biHeight = frame.Height();
        header->biPlanes = 1;
        header->biBitCount = 8;
        header->biClrUsed = 256;
        auto* colors = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
        for (int i = 0; i < map.Count(); ++i) colors[i] = {map[i].Blue, map[i].Green, map[i].Red, 0};
        const size_t stride = (static_cast<size_t>(frame.Width()) + 3) & ~size_t{3};
        rows.assign(stride * static_cast<size_t>(frame.Height()), 0);
        for (int y = 0; y < frame.Height(); ++y)
            std::copy(frame.ScanLine(y), frame.ScanLine(y) + frame.Width(),
                      rows.begin() + static_cast<long>(stride * static_cast<size_t>(frame.Height() - 1 - y)));
    }
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
};

int Scaled(int offset, int extent, int screen) {
    return screen > 0 ? MulDiv(offset, extent, screen) : offset;
}

// Stretches the frame's own rectangle of the logical screen into the target rectangle.
void DrawFrame(HDC dc, const TGIFImage& image, const TGIFSubImage& frame, const RECT& rect) {
    if (frame.Empty()) return;
    TFrameDib dib(frame);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const int left = rect.left + Scaled(frame.Left(), width, image.Width());
    const int right = rect.left + Scaled(frame.Left() + frame.Width(), width, image.Width());
    const int top = rect.top + Scaled(frame.Top(), height, image.Height());
    const int bottom = rect.top + Scaled(frame.Top() + frame.Height(), height, image.Height());
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, left, top, right - left, bottom - top, 0, 0, frame.Width(), frame.Height(), dib.rows.data(),
                  dib.Info(), DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

}  // namespace

void TGIFImage::Draw(TCanvas& canvas, const RECT& rect) {
    if (Empty()) return;
    DrawFrame(canvas.Handle(), *this, Images[0], rect);
}

void TGIFImage::AssignTo(TGraphic* target) const {
    if (!target || !target->InheritsFrom(TBitmap::StaticClass())) {
        TGraphic::AssignTo(target);
        return;
    }
    auto* bitmap = static_cast<TBitmap*>(target);
    bitmap->Assign(nullptr);
    if (Empty()) return;
    bitmap->SetSize(Width(), Height());
    RECT whole = {0, 0, Width(), Height()};
    DrawFrame(bitmap->Canvas().Handle(), *this, Images[0], whole);
    bitmap->Changed();
}
