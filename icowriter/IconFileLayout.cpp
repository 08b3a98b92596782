#include "icowriter/IconFileLayout.h"

#include <cstdlib>

#include "toolkit/ByteReader.h"
#include "toolkit/CheckedMath.h"
#include "toolkit/Exceptions.h"

namespace {

[[noreturn]] void ThrowInvalidBitmap() { throw EInvalidGraphic(ErrorText::InvalidBitmap); }

void PutAt32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

void PutAt16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

// What the system says about a device-dependent bitmap: only its width and height are used.
TBitmapInfoHeader HeaderFromBitmapDescription(const uint8_t* description, size_t length) {
    if (length < IconFile::BitmapDescriptionSize) ThrowInvalidBitmap();
    ByteReader reader(description, length);
    reader.Skip(4);  // type
    TBitmapInfoHeader header;
    header.width = reader.ReadI32LE();
    header.height = reader.ReadI32LE();
    return header;
}

// A device-independent section brings a full header of its own. Its resolutions are kept, and
// its compression while the depth stays the same (bit-field masks come back with the rows).
// What would no longer describe the rows being written is dropped: a top-down height (icon
// rows run bottom row first), an image size that is not the size of the rows, and a count of
// used colours (the colour table is always written in full).
bool HeaderFromSectionDescription(const uint8_t* description, size_t length, uint16_t bitCount,
                                  TBitmapInfoHeader& header) {
    if (length < IconFile::SectionHeaderMinimum) return false;
    TBitmapInfoHeader section = LoadBitmapInfoHeader(description + IconFile::SectionHeaderOffset);
    if (section.size < IconFile::InfoHeaderSize) return false;
    header = section;
    header.size = IconFile::InfoHeaderSize;
    header.height = section.height < 0 ? -section.height : section.height;
    if (section.bitCount != bitCount) header.compression = 0;
    header.clrUsed = 0;
    header.clrImportant = 0;
    return true;
}

}  // namespace

TInfoHeaderBytes StoreBitmapInfoHeader(const TBitmapInfoHeader& h) {
    TInfoHeaderBytes bytes{};
    PutAt32(&bytes[0], h.size);
    PutAt32(&bytes[4], static_cast<uint32_t>(h.width));
    PutAt32(&bytes[8], static_cast<uint32_t>(h.height));
    PutAt16(&bytes[12], h.planes);
    PutAt16(&bytes[14], h.bitCount);
    PutAt32(&bytes[16], h.compression);
    PutAt32(&bytes[20], h.sizeImage);
    PutAt32(&bytes[24], static_cast<uint32_t>(h.xPelsPerMeter));
    PutAt32(&bytes[28], static_cast<uint32_t>(h.yPelsPerMeter));
    PutAt32(&bytes[32], h.clrUsed);
    PutAt32(&bytes[36], h.clrImportant);
    return bytes;
}

TBitmapInfoHeader LoadBitmapInfoHeader(const uint8_t* bytes) {
    ByteReader reader(bytes, IconFile::InfoHeaderSize);
    TBitmapInfoHeader h;
    h.size = reader.ReadU32LE();
    h.width = reader.ReadI32LE();
    h.height = reader.ReadI32LE();
    h.planes = reader.ReadU16LE();
    h.bitCount = reader.ReadU16LE();
    h.compression = reader.ReadU32LE();
    h.sizeImage = reader.ReadU32LE();
    h.xPelsPerMeter = reader.ReadI32LE();
    h.yPelsPerMeter = reader.ReadI32LE();
    h.clrUsed = reader.ReadU32LE();
    h.clrImportant = reader.ReadU32LE();
    return h;
}

uint32_t AlignedRowSize(uint32_t pixels, uint32_t bits) {
    uint64_t rowBits = static_cast<uint64_t>(pixels) * bits;
    return static_cast<uint32_t>(((rowBits + 31) & ~uint64_t{31}) / 8);
}

uint16_t BitCountForColourCount(uint32_t colourCount) {
    switch (colourCount) {
        case IconFile::MaskColours: return 1;
        case IconFile::PaletteColours: return 8;
        case IconFile::HighColours: return 16;
        default: throw EInvalidGraphicOperation("Unsupported icon colour count");
    }
}

TBitmapInfoHeader InfoHeaderFromDescription(const uint8_t* description, size_t length, uint32_t colourCount) {
    if (length == 0 || description == nullptr) ThrowInvalidBitmap();
    uint16_t bitCount = BitCountForColourCount(colourCount);
    TBitmapInfoHeader header;
    if (!HeaderFromSectionDescription(description, length, bitCount, header))
        header = HeaderFromBitmapDescription(description, length);
    if (header.width <= 0 || header.height == 0) ThrowInvalidBitmap();
    if (header.width > IconFile::MaxSide || std::abs(header.height) > IconFile::MaxSide) ThrowInvalidBitmap();
    header.bitCount = bitCount;
    header.planes = 1;
    // Sizes are bounded by MaxSide, so the product fits easily in 32 bits.
    header.sizeImage = AlignedRowSize(static_cast<uint32_t>(header.width), bitCount) *
                       static_cast<uint32_t>(std::abs(header.height));
    return header;
}

TDIBSizes MeasureDIBHeader(const TBitmapInfoHeader& header) {
    TDIBSizes sizes;
    if (header.bitCount <= 8) {
        sizes.headerAndTable = IconFile::InfoHeaderSize + 4u * (1u << header.bitCount);
    } else {
        bool hasMasks = (header.compression & 3u) != 0;
        sizes.headerAndTable = IconFile::InfoHeaderSize + (hasMasks ? IconFile::ColourMasksSize : 0);
    }
    sizes.pixels = header.sizeImage;
    return sizes;
}

std::array<uint8_t, IconFile::ImageOffset> IconDirectory(const TBitmapInfoHeader& colour, uint32_t dataSize) {
    std::array<uint8_t, IconFile::ImageOffset> bytes{};
    PutAt16(&bytes[2], 1);  // resource type: icon
    PutAt16(&bytes[4], 1);  // one image
    uint8_t* entry = &bytes[IconFile::DirectoryHeaderSize];
    entry[0] = static_cast<uint8_t>(colour.width);
    entry[1] = static_cast<uint8_t>(colour.height);
    // Planes times bit count, where readers look for the palette size: 8 or 16.
    PutAt16(&entry[2], static_cast<uint16_t>(colour.planes * colour.bitCount));
    PutAt32(&entry[8], dataSize);
    PutAt32(&entry[12], IconFile::ImageOffset);
    return bytes;
}

void WriteIconImage(TStream& stream, const TIconImageData& image) {
    if (image.colourHeader.size() < IconFile::InfoHeaderSize) ThrowInvalidBitmap();
    auto dataSize = CheckedAdd<uint32_t>(static_cast<uint32_t>(image.colourHeader.size()),
                                         static_cast<uint32_t>(image.colourPixels.size()));
    if (dataSize) dataSize = CheckedAdd<uint32_t>(*dataSize, static_cast<uint32_t>(image.maskPixels.size()));
    if (!dataSize) ThrowInvalidBitmap();

    TBitmapInfoHeader colour = LoadBitmapInfoHeader(image.colourHeader.data());
    auto directory = IconDirectory(colour, *dataSize);
    stream.WriteBuffer(directory.data(), directory.size());

    std::vector<uint8_t> header = image.colourHeader;
    PutAt32(&header[8], static_cast<uint32_t>(colour.height) * 2u);
    stream.WriteBuffer(header.data(), header.size());
    stream.WriteBuffer(image.colourPixels.data(), image.colourPixels.size());
    stream.WriteBuffer(image.maskPixels.data(), image.maskPixels.size());
}
