#include "picture/bmp/BmpBitFields.h"

namespace {

bool SingleRun(uint32_t mask) {
    if (mask == 0) return false;
    uint32_t shifted = mask >> __builtin_ctz(mask);
    return (shifted & (shifted + 1)) == 0;
}

uint32_t ReadPixel(const uint8_t* p, uint16_t bitCount) {
    if (bitCount == 16) return static_cast<uint32_t>(p[0] | (p[1] << 8));
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

uint8_t ExtractChannel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    unsigned shift = static_cast<unsigned>(__builtin_ctz(mask));
    uint32_t value = (pixel & mask) >> shift;
    uint32_t shifted = mask >> shift;
    unsigned bits = 32u - static_cast<unsigned>(__builtin_clz(shifted));
    if (bits >= 8) return static_cast<uint8_t>(value >> (bits - 8));
    // Narrow channels widen by repeating their bits (5 bits abcde give abcdeabc), the way
    // the system's own conversions do it.
    uint32_t result = 0;
    for (int filled = 0; filled < 8; filled += static_cast<int>(bits)) result = (result << bits) | value;
    unsigned total = ((8 + bits - 1) / bits) * bits;
    return static_cast<uint8_t>(result >> (total - 8));
}

bool UsableBitFields(const TDibFormat& f) {
    uint32_t limit = f.bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    for (uint32_t mask : {f.redMask, f.greenMask, f.blueMask})
        if (!SingleRun(mask) || (mask & ~limit)) return false;
    return (f.redMask & f.greenMask) == 0 && (f.redMask & f.blueMask) == 0 && (f.greenMask & f.blueMask) == 0;
}

void NormalizeBitFields(TDibFormat& format, std::vector<uint8_t>& rows, uint32_t width, uint32_t height) {
    if (format.compression != kBiBitFields || UsableBitFields(format)) return;
    uint32_t fromRow = *DibRowBytes(width, format.bitCount);
    uint32_t toRow = *DibRowBytes(width, 32);
    std::vector<uint8_t> repacked(static_cast<size_t>(toRow) * height);
    size_t step = format.bitCount / 8;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* from = rows.data() + static_cast<size_t>(y) * fromRow;
        uint8_t* to = repacked.data() + static_cast<size_t>(y) * toRow;
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t pixel = ReadPixel(from + x * step, format.bitCount);
            to[x * 4] = ExtractChannel(pixel, format.blueMask);
            to[x * 4 + 1] = ExtractChannel(pixel, format.greenMask);
            to[x * 4 + 2] = ExtractChannel(pixel, format.redMask);
        }
    }
    rows = std::move(repacked);
    format = DibFormatFor(pf32bit);
}
