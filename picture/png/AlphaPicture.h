#pragma once
// A picture with its transparency, as PNG files hold it and as the conversions into and out of
// PNG pass it on: blue, green, red, alpha a pixel (straight alpha), top row first.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Streams.h"

struct TIconImage;

struct TAlphaPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Pixels;  // Width x Height x 4 bytes

    TAlphaPicture() = default;
    TAlphaPicture(int32_t width, int32_t height);  // fully transparent black
    uint8_t* Pixel(int32_t x, int32_t y) { return &Pixels[(size_t(y) * size_t(Width) + size_t(x)) * 4]; }
    const uint8_t* Pixel(int32_t x, int32_t y) const { return &Pixels[(size_t(y) * size_t(Width) + size_t(x)) * 4]; }
    const uint8_t* Row(int32_t y) const { return Pixel(0, y); }
    bool HasTransparency() const;  // some pixel is not fully opaque
};

// The PNG file in `data`, whatever its layout. Throws EPNG.
TAlphaPicture DecodePngPicture(const uint8_t* data, size_t size);

// Writes the picture as PNG: a palette of its colours when it has 256 or fewer (with their
// alpha), else RGBA when some pixel is not opaque, else RGB.
void WritePngPicture(TStream& out, const TAlphaPicture& picture);

// An icon image with its transparency: a 32-bit image's alpha channel where it has one (any
// alpha byte other than 0), otherwise its mask (set bits transparent).
TAlphaPicture AlphaPictureFromIconImage(const TIconImage& image);

// A one-image icon of the picture: 24-bit colours, and a mask that makes the pixels of alpha 0
// transparent and all others opaque.
TIconImage IconImageFromAlphaPicture(const TAlphaPicture& picture);

// The picture on a transparent canvas of the given size: stretched over all of it (nearest
// pixel) when it is wider or taller, otherwise unscaled in the top-left corner.
TAlphaPicture FitAlphaPicture(const TAlphaPicture& picture, int32_t width, int32_t height);
