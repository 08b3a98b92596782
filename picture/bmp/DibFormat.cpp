#include "picture/bmp/DibFormat.h"

#include "base/ByteReader.h"
#include "base/CheckedMath.h"
#include "picture/bmp/BitmapInfoHeader.h"

TPixelFormat PixelFormatOf(const TDibFormat& format) {
    switch (format.bitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16:
        if (format.compression == kBiRgb) return pf15bit;
        if (format.redMask == kMask555Red && format.greenMask == kMask555Green && format.blueMask == kMask555Blue)
            return pf15bit;
        if (format.redMask == kMask565Red && format.greenMask == kMask565Green && format.blueMask == kMask565Blue)
            return pf16bit;
        return pfCustom;
    case 24: return pf24bit;
    case 32:
        if (format.compression == kBiRgb) return pf32bit;
        if (format.redMask == kMask888Red && format.greenMask == kMask888Green && format.blueMask == kMask888Blue)
            return pf32bit;
        return pfCustom;
    default: return pfCustom;
    }
}

TDibFormat DibFormatFor(TPixelFormat pixelFormat) {
    TDibFormat format;
    switch (pixelFormat) {
    case pf1bit: format.bitCount = 1; break;
    case pf4bit: format.bitCount = 4; break;
    case pf8bit: format.bitCount = 8; break;
    case pf15bit: format.bitCount = 16; break;
    case pf16bit:
        format.bitCount = 16;
        format.compression = kBiBitFields;
        format.redMask = kMask565Red;
        format.greenMask = kMask565Green;
        format.blueMask = kMask565Blue;
        break;
    case pf24bit: format.bitCount = 24; break;
    case pf32bit: format.bitCount = 32; break;
    default: break;
    }
    if (format.bitCount && format.bitCount <= 8) format.colors = DefaultColorTable(format.bitCount);
    return format;
}

namespace {

const TRgbQuad kVgaColors[16] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},     {0, 128, 0, 0},   {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0},   {128, 128, 0, 0}, {192, 192, 192, 0},
    {128, 128, 128, 0}, {0, 0, 255, 0},     {0, 255, 0, 0},   {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0},   {255, 255, 0, 0}, {255, 255, 255, 0},
};

TRgbQuad Quad(uint8_t red, uint8_t green, uint8_t blue) { return TRgbQuad{blue, green, red, 0}; }

}  // namespace

std::vector<TRgbQuad> DefaultColorTable(uint16_t bitCount) {
    std::vector<TRgbQuad> table;
    if (bitCount == 1) {
        table = {Quad(0, 0, 0), Quad(255, 255, 255)};
    } else if (bitCount == 4) {
        table.assign(kVgaColors, kVgaColors + 16);
    } else if (bitCount == 8) {
        table.assign(kVgaColors, kVgaColors + 16);
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) table.push_back(Quad(r * 51, g * 51, b * 51));
        // 16 + 216 = 232 entries; the last 24 are greys between the cube's steps.
        for (int i = 0; table.size() < 256; ++i) {
            uint8_t level = static_cast<uint8_t>(8 + i * 10);
            table.push_back(Quad(level, level, level));
        }
    }
    return table;
}

std::optional<uint32_t> DibRowBytes(uint32_t width, uint32_t bitCount) { return AlignedRowBytes(width, bitCount); }

std::optional<size_t> DibImageBytes(uint32_t width, uint32_t height, uint32_t bitCount, size_t limit) {
    auto row = DibRowBytes(width, bitCount);
    if (!row) return std::nullopt;
    auto total = CheckedMul<size_t>(*row, height);
    if (!total || *total > limit) return std::nullopt;
    return total;
}

void PutDibHeader(std::vector<uint8_t>& out, const TDibFormat& format, uint32_t width, uint32_t storedHeight,
                  uint32_t sizeImage, uint32_t colorsUsed, size_t tableEntries) {
    bool bitFields = format.compression == kBiBitFields;
    TBitmapInfoHeader header;
    header.width = static_cast<int32_t>(width);
    header.height = static_cast<int32_t>(storedHeight);
    header.bitCount = format.bitCount;
    header.compression = bitFields ? kBiBitFields : kBiRgb;
    header.sizeImage = sizeImage;
    header.clrUsed = colorsUsed;
    PutBitmapInfoHeader(out, header);
    if (bitFields) {
        PutU32LE(out, format.redMask);
        PutU32LE(out, format.greenMask);
        PutU32LE(out, format.blueMask);
        return;
    }
    for (size_t i = 0; i < tableEntries && i < format.colors.size(); ++i) {
        const TRgbQuad& c = format.colors[i];
        PutU8(out, c.blue);
        PutU8(out, c.green);
        PutU8(out, c.red);
        PutU8(out, 0);
    }
}
