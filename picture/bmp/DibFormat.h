#pragma once
// The layout of a device-independent bitmap in memory: bits per pixel, how 16 and 32-bit
// pixels split into channels, the colour table, and row sizes. Rows are always stored
// bottom row first, each padded to a 4-byte boundary.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct TRgbQuad {
    uint8_t blue = 0, green = 0, red = 0, reserved = 0;
    bool operator==(const TRgbQuad& o) const {
        return blue == o.blue && green == o.green && red == o.red && reserved == o.reserved;
    }
};

// Compression codes of the bitmap information header.
enum : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitFields = 3 };

// The picture formats a bitmap can have. pfDevice: a device-dependent bitmap at the
// display's depth; pfCustom: anything the others do not name.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

struct TDibFormat {
    uint16_t bitCount = 0;
    uint32_t compression = kBiRgb;  // kBiRgb or kBiBitFields
    uint32_t redMask = 0, greenMask = 0, blueMask = 0;  // with kBiBitFields
    std::vector<TRgbQuad> colors;                        // for 1, 4 and 8 bits

    bool operator==(const TDibFormat& o) const {
        return bitCount == o.bitCount && compression == o.compression && redMask == o.redMask &&
               greenMask == o.greenMask && blueMask == o.blueMask && colors == o.colors;
    }
};

constexpr uint32_t kMask565Red = 0xF800, kMask565Green = 0x07E0, kMask565Blue = 0x001F;
constexpr uint32_t kMask555Red = 0x7C00, kMask555Green = 0x03E0, kMask555Blue = 0x001F;
constexpr uint32_t kMask888Red = 0xFF0000, kMask888Green = 0x00FF00, kMask888Blue = 0x0000FF;

// The pixel format a layout stands for (16 bits with 5-5-5 channels is pf15bit).
TPixelFormat PixelFormatOf(const TDibFormat& format);
// A layout for a pixel format; indexed formats get the default colour table of their depth.
// pfDevice and pfCustom have no layout of their own (bitCount 0).
TDibFormat DibFormatFor(TPixelFormat pixelFormat);
// The colour table new indexed bitmaps get: black and white; the 16 standard VGA colours;
// for 8 bits the 16 VGA colours, a 6x6x6 colour cube and a grey ramp.
std::vector<TRgbQuad> DefaultColorTable(uint16_t bitCount);

// Appends the 40-byte information header, then the three colour masks of a bit-field
// layout or the first `tableEntries` colours of the table (4 bytes each).
// `storedHeight` is written as given (icon images store twice the height).
void PutDibHeader(std::vector<uint8_t>& out, const TDibFormat& format, uint32_t width, uint32_t storedHeight,
                  uint32_t sizeImage, uint32_t colorsUsed, size_t tableEntries);

// Bytes of one padded row, or nothing when it does not fit in 32 bits.
std::optional<uint32_t> DibRowBytes(uint32_t width, uint32_t bitCount);
// Bytes of all rows, or nothing when the size overflows or exceeds `limit`.
std::optional<size_t> DibImageBytes(uint32_t width, uint32_t height, uint32_t bitCount,
                                    size_t limit = SIZE_MAX);
