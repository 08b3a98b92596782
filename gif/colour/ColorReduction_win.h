#pragma once
// Colour reduction of bitmaps: the platform's side of the reduction routine (reading the
// source bitmap at 24 bits per pixel, the system palettes, loading the reduced image back
// into a bitmap).
#include <windows.h>

#include <memory>
#include <vector>

#include "gif/codec/GifImageModel.h"
#include "gif/colour/ColorReduction.h"
#include "picture/bmp/DibFormat.h"

class TBitmap;

// Bitmaps of more pixels than this start as 1-bit bitmaps until the reduced image replaces
// them, so that a large result never exists twice at full depth.
constexpr long long LargeBitmapPixels = 500000;

// A bitmap and the pixel format it is read or written at.
class TDIB {
public:
    TDIB(TBitmap& bitmap, TPixelFormat pixelFormat) : Bitmap(bitmap), PixelFormat(pixelFormat) {}

    TBitmap& Bitmap;
    const TPixelFormat PixelFormat;
};

// Reads a bitmap's own rows: the bitmap is first converted to the reader's format.
class TDIBReader : public TDIB {
public:
    TDIBReader(TBitmap& bitmap, TPixelFormat pixelFormat);
    // The rows as blue, green, red bytes (for a 24-bit reader).
    TRgbRows Rows();
};

// The stock default palette and the screen's halftone palette, as the system gives them.
class TWinSystemPalettes : public TSystemPalettes {
public:
    std::vector<TGIFColor> StockPalette() override;
    std::vector<TGIFColor> HalftonePalette() override;
};

// The colours of a palette, or of a colour table (at most 256).
std::vector<TGIFColor> GifColorsOfPalette(HPALETTE palette);
std::vector<TGIFColor> GifColorsOfTable(const std::vector<TRgbQuad>& table);

// Reduces the bitmap with a method (0 to 9) and a dither kind (0 to 6) into a new bitmap,
// which is 8 bits per pixel with a 256-entry colour table (method 0: a 24-bit copy). Method 9
// uses the given palette. The source is left converted to 24 bits per pixel. Methods,
// kinds or palettes that give nothing to reduce with return a new, empty bitmap.
std::unique_ptr<TBitmap> ReduceColors(TBitmap& source, int method, int ditherKind, HPALETTE palette,
                                      int quantizeBits);
