#include "icowriter/IconFileLayout.h"

#include <cstdlib>

#include "base/ByteReader.h"
#include "base/CheckedMath.h"
#include "base/Exceptions.h"

namespace {

[[noreturn]] void ThrowInvalidBitmap() { throw EInvalidGraphic(ErrorText::InvalidBitmap); }

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
    if (section.size < kInfoHeaderSize) return false;
    header = section;
    header.size = kInfoHeaderSize;
    header.height = section.height < 0 ? -section.height : section.height;
    if (section.bitCount != bitCount) header.compression = 0;
    header.clrUsed = 0;
    header.clrImportant = 0;
    return true;
}

}  // namespace

uint16_t BitCountForColourCount(uint32_t colourCount) {
    switch (colourCount) {
        case IconFile::MaskColours: return 1;
        case IconFile::PaletteColours: return 8;
        case IconFile::HighColours: return 16;
        default: throw EInvalidGraphicOperation(ErrorText::IconColourCount);
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
    header.sizeImage = *AlignedRowBytes(static_cast<uint32_t>(header.width), bitCount) *
                       static_cast<uint32_t>(std::abs(header.height));
    return header;
}

TDIBSizes MeasureDIBHeader(const TBitmapInfoHeader& header) {
    TDIBSizes sizes;
    if (header.bitCount <= 8) {
        sizes.headerAndTable = kInfoHeaderSize + 4u * (1u << header.bitCount);
    } else {
        bool hasMasks = (header.compression & 3u) != 0;
        sizes.headerAndTable = kInfoHeaderSize + (hasMasks ? kColourMasksSize : 0);
    }
    sizes.pixels = header.sizeImage;
    return sizes;
}

namespace {

// Where the colour count is read, the entry holds planes times bit count (8 or 16), and
// leaves the planes and bit count words empty.
TIconDirEntry DirectoryEntry(const TBitmapInfoHeader& colour, uint32_t dataSize) {
    TIconDirEntry entry;
    entry.width = static_cast<uint8_t>(colour.width);
    entry.height = static_cast<uint8_t>(colour.height);
    uint16_t planeBits = static_cast<uint16_t>(colour.planes * colour.bitCount);
    entry.colorCount = static_cast<uint8_t>(planeBits);
    entry.reserved = static_cast<uint8_t>(planeBits >> 8);
    entry.planes = 0;
    entry.bitCount = 0;
    entry.bytesInRes = dataSize;
    entry.imageOffset = kSingleIconImageOffset;
    return entry;
}

}  // namespace

void WriteIconImage(TStream& stream, const TIconImageData& image) {
    if (image.colourHeader.size() < kInfoHeaderSize) ThrowInvalidBitmap();
    auto dataSize = CheckedAdd<uint32_t>(static_cast<uint32_t>(image.colourHeader.size()),
                                         static_cast<uint32_t>(image.colourPixels.size()));
    if (dataSize) dataSize = CheckedAdd<uint32_t>(*dataSize, static_cast<uint32_t>(image.maskPixels.size()));
    if (!dataSize) ThrowInvalidBitmap();

    TBitmapInfoHeader colour = LoadBitmapInfoHeader(image.colourHeader.data());
    std::vector<uint8_t> head;
    PutSingleIconDirectory(head, DirectoryEntry(colour, *dataSize));
    // The format counts the mask rows in the colour header's height.
    TBitmapInfoHeader stored = colour;
    stored.height = static_cast<int32_t>(static_cast<uint32_t>(colour.height) * 2u);
    PutBitmapInfoHeader(head, stored);
    head.insert(head.end(), image.colourHeader.begin() + kInfoHeaderSize, image.colourHeader.end());
    stream.WriteBuffer(head.data(), head.size());
    stream.WriteBuffer(image.colourPixels.data(), image.colourPixels.size());
    stream.WriteBuffer(image.maskPixels.data(), image.maskPixels.size());
}
