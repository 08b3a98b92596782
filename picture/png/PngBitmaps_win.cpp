#include "picture/png/PngBitmaps_win.h"

#include <cstring>

#include "picture/bmp/Bitmap_win.h"

HBITMAP PremultipliedDib(const TAlphaPicture& picture) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture.Width;
    info.bmiHeader.biHeight = -picture.Height;  // top row first, as the picture
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) return nullptr;
    auto* out = static_cast<uint8_t*>(bits);
    const uint8_t* in = picture.Pixels.data();
    for (size_t i = 0; i < picture.Pixels.size(); i += 4) {
        const unsigned alpha = in[i + 3];
        for (int c = 0; c < 3; ++c) out[i + c] = static_cast<uint8_t>((in[i + c] * alpha + 127) / 255);
        out[i + 3] = static_cast<uint8_t>(alpha);
    }
    return dib;
}

TAlphaPicture AlphaPictureFromBitmap(const TBitmap& bitmap) {
    TBitmap copy;
    copy.Assign(&bitmap);
    copy.SetPixelFormat(pf24bit);
    TAlphaPicture picture(copy.Width(), copy.Height());
    for (int32_t y = 0; y < picture.Height; ++y) {
        const auto* row = static_cast<const uint8_t*>(copy.ScanLine(y));
        for (int32_t x = 0; x < picture.Width; ++x) {
            uint8_t* p = picture.Pixel(x, y);
            std::memcpy(p, row + size_t(x) * 3, 3);
            p[3] = 255;
        }
    }
    return picture;
}
