#pragma once
// The byte layout of the one-image .ico files the icon writer produces: the directory, the
// bitmap information header of the colour image, the sizes of its parts and the rows. Pure
// bytes in, bytes out; the Windows side (IconWriter_win) only fetches the bitmaps.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "toolkit/Streams.h"

namespace IconFile {
inline constexpr uint32_t DirectoryHeaderSize = 6;
inline constexpr uint32_t DirectoryEntrySize = 16;
inline constexpr uint32_t ImageOffset = DirectoryHeaderSize + DirectoryEntrySize;  // 22
inline constexpr uint32_t InfoHeaderSize = 40;
inline constexpr uint32_t ColourMasksSize = 12;  // three DWORD masks behind a bit-field header
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

// The 40-byte Windows bitmap information header, field by field.
struct TBitmapInfoHeader {
    uint32_t size = IconFile::InfoHeaderSize;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};

using TInfoHeaderBytes = std::array<uint8_t, IconFile::InfoHeaderSize>;
TInfoHeaderBytes StoreBitmapInfoHeader(const TBitmapInfoHeader& header);
TBitmapInfoHeader LoadBitmapInfoHeader(const uint8_t* bytes);  // reads 40 bytes

// Bytes per row: `pixels` pixels of `bits` bits, padded to whole 32-bit words.
uint32_t AlignedRowSize(uint32_t pixels, uint32_t bits);

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

// The 22 bytes in front of the image: the directory header and its one entry.
std::array<uint8_t, IconFile::ImageOffset> IconDirectory(const TBitmapInfoHeader& colour, uint32_t dataSize);

// Writes the whole .ico file: the directory, the colour header with its height doubled (the
// format counts the mask rows in it), the colour rows and the mask rows.
void WriteIconImage(TStream& stream, const TIconImageData& image);
