#pragma once
// What is particular to the one-image .ico files the icon writer produces from the system's
// bitmaps: the header that describes the rows asked for, the sizes of the parts and the file
// around them. The header, the directory and the little-endian writing are picture/'s. Pure
// bytes in, bytes out; the Windows side (IconWriter_win) only fetches the bitmaps.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Streams.h"
#include "picture/bmp/BitmapInfoHeader.h"
#include "picture/ico/IconDirectory.h"

namespace IconFile {
// Sizes a bitmap description (what the system says about a bitmap handle) may take.
inline constexpr size_t BitmapDescriptionSize = 24;   // width, height, bits per pixel, planes, ...
inline constexpr size_t SectionDescriptionSize = 84;  // the above plus an information header and masks
inline constexpr size_t SectionHeaderOffset = 24;
inline constexpr size_t SectionHeaderMinimum = 64;  // enough bytes to hold the embedded header
// No icon comes near this; it keeps a damaged bitmap from asking for gigabytes.
inline constexpr int32_t MaxSide = 4096;
// The colour counts the writer works with, one per bit depth.
inline constexpr uint32_t MaskColours = 2;
inline constexpr uint32_t PaletteColours = 256;
inline constexpr uint32_t HighColours = 65536;
}  // namespace IconFile

// 2 -> 1, 256 -> 8, 65536 -> 16 bits per pixel.
uint16_t BitCountForColourCount(uint32_t colourCount);

// The information header for a bitmap at the depth of `colourCount`, from the system's
// description of the bitmap (`description`, `length` bytes of it; 0 when the handle was not
// usable). Throws EInvalidGraphic "Bitmap image is not valid" for an unusable bitmap.
TBitmapInfoHeader InfoHeaderFromDescription(const uint8_t* description, size_t length, uint32_t colourCount);

struct TDIBSizes {
    uint32_t headerAndTable = 0;
    uint32_t pixels = 0;
};
TDIBSizes MeasureDIBHeader(const TBitmapInfoHeader& header);

// One icon image as it was read back from the system: the colour image's header with its
// colour table (or bit-field masks) and its pixel rows, and the mask's pixel rows.
struct TIconImageData {
    std::vector<uint8_t> colourHeader;  // Hc bytes; the first 40 are the information header
    std::vector<uint8_t> colourPixels;  // Pc bytes
    std::vector<uint8_t> maskPixels;    // Pm bytes
};

// Writes the whole .ico file: the directory, the colour header with its height doubled (the
// format counts the mask rows in it), the colour rows and the mask rows.
void WriteIconImage(TStream& stream, const TIconImageData& image);
