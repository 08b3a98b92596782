#include "picture/BmpBitFields.h"

namespace {

bool HasMasks(const TDibFormat& f, uint32_t red, uint32_t green, uint32_t blue) {
    return f.redMask == red && f.greenMask == green && f.blueMask == blue;
}

uint32_t ReadPixel(const uint8_t* p, uint16_t bitCount) {
    if (bitCount == 16) return static_cast<uint32_t>(p[0] | (p[1] << 8));
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

void RepackRow(uint8_t* row, uint32_t width, const TDibFormat& from) {
    for (uint32_t x = 0; x < width; ++x) {
        uint8_t* p = row + static_cast<size_t>(x) * (from.bitCount / 8);
        uint32_t pixel = ReadPixel(p, from.bitCount);
        uint8_t r = ExtractChannel(pixel, from.redMask);
        uint8_t g = ExtractChannel(pixel, from.greenMask);
        uint8_t b = ExtractChannel(pixel, from.blueMask);
        if (from.bitCount == 16) {
            uint16_t packed = static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
            p[0] = static_cast<uint8_t>(packed);
            p[1] = static_cast<uint8_t>(packed >> 8);
        } else {
            p[0] = b;
            p[1] = g;
            p[2] = r;
            p[3] = 0;
        }
    }
}

}  // namespace

uint8_t ExtractChannel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    unsigned shift = static_cast<unsigned>(__builtin_ctz(mask));
    uint32_t value = (pixel & mask) >> shift;
    uint32_t shifted = mask >> shift;
    unsigned bits = 32u - static_cast<unsigned>(__builtin_clz(shifted));
    if (bits >= 8) return static_cast<uint8_t>(value >> (bits - 8));
    uint32_t max = (1u << bits) - 1;
    if (value > max) value = max;  // masks with holes
    return static_cast<uint8_t>((value * 255 + max / 2) / max);
}

void NormalizeBitFields(TDibFormat& format, std::vector<uint8_t>& rows, uint32_t width, uint32_t height) {
    if (format.compression != kBiBitFields) return;
    if (format.bitCount == 16 && (HasMasks(format, kMask555Red, kMask555Green, kMask555Blue) ||
                                  HasMasks(format, kMask565Red, kMask565Green, kMask565Blue)))
        return;
    if (format.bitCount == 32 && HasMasks(format, kMask888Red, kMask888Green, kMask888Blue)) return;
    uint32_t rowBytes = *DibRowBytes(width, format.bitCount);
    for (uint32_t y = 0; y < height; ++y) RepackRow(rows.data() + static_cast<size_t>(y) * rowBytes, width, format);
    if (format.bitCount == 16) {
        format.redMask = kMask565Red;
        format.greenMask = kMask565Green;
        format.blueMask = kMask565Blue;
    } else {
        format.compression = kBiRgb;
        format.redMask = format.greenMask = format.blueMask = 0;
    }
}
