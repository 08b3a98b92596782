#pragma once
// Files the icon group tests build from scratch: icon images, PE files (32- or 64-bit) whose
// resource section holds given resources in the order given, and NE icon libraries.
#include <cstdint>
#include <string>
#include <vector>

using TBytes = std::vector<uint8_t>;

// A bitmap icon image (header, colour rows at `bits` per pixel, mask rows), all zeros.
TBytes DibImage(uint32_t side, uint16_t bits);
// The start of a PNG image of a side (signature and header chunk), then `extra` bytes.
TBytes PngImage(uint32_t side, size_t extra = 16);

struct TImageRef {
    uint16_t id;
    uint32_t side;  // 256 is stored as 0
    uint16_t bits;
};
// A stored group directory naming images by number.
TBytes GroupDirectory(const std::vector<TImageRef>& images);

struct TResource {
    uint16_t type;
    uint16_t id;       // 0: named by `name`
    std::string name;  // ASCII
    uint16_t language;
    TBytes bytes;
};

// A PE file with one resource section holding the resources: type, name and language
// directories in the order the resources first name them.
TBytes PeFile(const std::vector<TResource>& resources, bool sixtyFourBit);

struct TNeResource {
    uint16_t type;  // with the top bit: numbered
    uint16_t id;    // with the top bit: numbered
    TBytes bytes;
};
TBytes NeFile(const std::vector<TNeResource>& resources, uint16_t alignShift = 4);

// An .ico file holding the images with their directory entries.
TBytes IcoFile(const std::vector<TImageRef>& refs, const std::vector<TBytes>& images);

// Offsets the broken-file tests change.
constexpr uint32_t kPeHeaderAt = 0x40;
constexpr uint32_t kResourceSectionAt = 0x200;
constexpr uint32_t kResourceAddress = 0x1000;
constexpr uint32_t kNeHeaderAt = 0x40;
constexpr uint32_t kNeResourceTableAt = kNeHeaderAt + 0x40;

void PutLE(TBytes& bytes, size_t at, uint32_t value, int width);
