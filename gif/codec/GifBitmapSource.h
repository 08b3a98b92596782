#pragma once
// A bitmap as the frame import sees it: its size, bits per pixel (1, 4, 8 or 24), colour
// table and rows. The Windows side describes its bitmaps this way; tests build them directly.
#include <cstdint>
#include <functional>
#include <vector>

#include "gif/codec/GifColorMap.h"

struct TGIFBitmapSource {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 8;
    // The colours of a 1, 4 or 8-bit bitmap; unused at 24 bits.
    std::vector<TGIFColor> Colors;
    // Top row first. 1 bit: eight pixels a byte, most significant bit first; 4 bits: high
    // nibble first; 8 bits: one index a byte; 24 bits: blue, green, red a pixel.
    std::function<const uint8_t*(int row)> Row;
    bool Transparent = false;
    TGIFColor TransparentColor;
};
