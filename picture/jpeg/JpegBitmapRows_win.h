#pragma once
// A bitmap as the JPEG decoder's target.
#include <windows.h>

#include <vector>

#include "picture/bmp/Bitmap_win.h"
#include "picture/bmp/DibFormat.h"
#include "picture/jpeg/JpegDecoder.h"

// The decoder writes straight into the bitmap's own rows, sized once libjpeg knows the
// output size.
class TJpegBitmapRows : public TJpegDecodeTarget {
public:
    explicit TJpegBitmapRows(TBitmap& bitmap) : bitmap_(bitmap) {}

    TJpegRows PrepareRows(int32_t width, int32_t height, int bitsPerPixel) override {
        bitmap_.SetPixelFormat(bitsPerPixel == 8 ? pf8bit : pf24bit);
        bitmap_.SetSize(width, height);
        return RowsOf(bitmap_);
    }

    void SetPalette(const std::vector<TJpegColor>& colors) override {
        std::vector<TRgbQuad> table;
        table.reserve(colors.size());
        for (const TJpegColor& c : colors) table.push_back(TRgbQuad{c.Blue, c.Green, c.Red, 0});
        bitmap_.SetColorTable(table);
        paletteSet_ = true;
    }

    bool PaletteSet() const { return paletteSet_; }

    // Row 0 of a DIB and the step to row 1 (negative: DIB rows are stored bottom first).
    static TJpegRows RowsOf(TBitmap& bitmap) {
        auto* first = static_cast<uint8_t*>(bitmap.ScanLine(0));
        if (bitmap.Height() > 1) return {first, static_cast<uint8_t*>(bitmap.ScanLine(1)) - first};
        return {first, -static_cast<ptrdiff_t>(*DibRowBytes(bitmap.Width(), bitmap.BitsPerPixel()))};
    }

private:
    TBitmap& bitmap_;
    bool paletteSet_ = false;
};
