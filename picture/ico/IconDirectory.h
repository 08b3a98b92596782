#pragma once
// Icon files: the 6-byte header, the directory of 16-byte entries, the choice of the entry
// that suits the display best, and the images the entries point at. Everything that lies
// about a size or an offset gives "Icon image is not valid".
#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/bmp/DibFormat.h"

struct TIconDirEntry {
    uint8_t width = 0;       // 0 stands for 256
    uint8_t height = 0;
    uint8_t colorCount = 0;
    uint8_t reserved = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t bytesInRes = 0;
    uint32_t imageOffset = 0;

    int Width() const { return width ? width : 256; }
    int Height() const { return height ? height : 256; }
    // The colour count as the choice reads it: the colour byte and the byte after it as one
    // little-endian word.
    uint32_t ColorWord() const { return static_cast<uint32_t>(colorCount | (reserved << 8)); }
};

struct TIconDirectory {
    uint16_t type = 0;  // 0 (no images: the system's application icon) or 1
    std::vector<TIconDirEntry> entries;
};

// Reads the header and, for type 1, the directory. Types other than 0 and 1 (cursor files,
// bitmaps under an icon's name) and directories that run past the data are refused.
TIconDirectory ReadIconDirectory(const uint8_t* data, size_t size);

// No limit on colours: the display shows more than 8 bits per pixel.
constexpr uint64_t kUnlimitedColors = uint64_t{1} << 32;
// 2^(bits per pixel x planes) for displays of up to 8 bits, otherwise unlimited.
uint64_t DisplayColorLimit(int bitsTimesPlanes);

// The entry to show: starting from entry 0, a later entry takes over when its colour count
// is within the limit and at least the best one's, and its size is no further from the
// wanted size (and, when larger, no larger) in either direction. Later entries win ties.
size_t ChooseIconEntry(const std::vector<TIconDirEntry>& entries, int wantedWidth, int wantedHeight,
                       uint64_t colorLimit);

// One decoded icon image: the colour picture and its 1-bit mask, padded rows bottom first.
struct TIconImage {
    TDibFormat format;
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> colorBits;
    std::vector<uint8_t> maskBits;
};

// Reads the image an entry points at (information header with doubled height, colour
// table, colour rows, mask rows). Compressed (PNG) images are refused. A 32-bit image may
// lack its mask rows, wholly or in part: those come from its alpha channel.
TIconImage ReadIconImage(const uint8_t* data, size_t size, const TIconDirEntry& entry);

// The 6-byte header of a one-image icon file and its one 16-byte entry, as given.
constexpr uint32_t kIconDirectoryHeaderSize = 6;
constexpr uint32_t kIconDirEntrySize = 16;
constexpr uint32_t kSingleIconImageOffset = kIconDirectoryHeaderSize + kIconDirEntrySize;  // 22
void PutSingleIconDirectory(std::vector<uint8_t>& out, const TIconDirEntry& entry);
// The header of an icon file of `imageCount` images, and one entry naming its image's offset.
void PutIconDirectoryHeader(std::vector<uint8_t>& out, uint16_t imageCount);
void PutIconDirEntry(std::vector<uint8_t>& out, const TIconDirEntry& entry, uint32_t imageOffset);

// A one-image icon file holding `image` (the colour picture at its own depth, then the mask).
std::vector<uint8_t> WriteIconFile(const TIconImage& image);
