#include "picture/bmp/DibHeader.h"

#include "base/Exceptions.h"
#include "picture/bmp/BitmapInfoHeader.h"

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kAlphaBitFields = 6;  // bit fields with a fourth (alpha) mask

bool ValidBitCount(uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool ValidCompression(uint32_t compression, uint16_t bits) {
    switch (compression) {
    case kBiRgb: return true;
    case kBiRle8: return bits == 8;
    case kBiRle4: return bits == 4;
    case kBiBitFields: return bits == 16 || bits == 32;
    default: return false;
    }
}

void ReadCoreHeader(ByteReader& reader, TDibHeader& header, const char* invalid) {
    header.width = reader.ReadU16LE<EInvalidGraphic>(invalid);
    header.height = reader.ReadU16LE<EInvalidGraphic>(invalid);
    reader.ReadU16LE<EInvalidGraphic>(invalid);  // planes
    header.bitCount = reader.ReadU16LE<EInvalidGraphic>(invalid);
}

// The 40-byte header and the longer ones; returns the colours-used count.
uint32_t ReadInfoHeader(ByteReader& reader, TDibHeader& header, const char* invalid) {
    TBitmapInfoHeader info;
    ReadInfoHeaderFields(reader, info, invalid);
    if (info.width <= 0 || info.height == 0 || info.height == INT32_MIN) throw EInvalidGraphic(invalid);
    header.bitCount = info.bitCount;
    header.compression = info.compression;
    header.sizeImage = info.sizeImage;
    header.width = static_cast<uint32_t>(info.width);
    header.topDown = info.height < 0;
    header.height = static_cast<uint32_t>(info.height < 0 ? -info.height : info.height);
    if (header.compression == kAlphaBitFields) header.compression = kBiBitFields;
    return info.clrUsed;
}

void ReadMasks(ByteReader& reader, TDibHeader& header, const char* invalid) {
    header.format.redMask = reader.ReadU32LE<EInvalidGraphic>(invalid);
    header.format.greenMask = reader.ReadU32LE<EInvalidGraphic>(invalid);
    header.format.blueMask = reader.ReadU32LE<EInvalidGraphic>(invalid);
}

void ReadColorTable(ByteReader& reader, TDibHeader& header, uint32_t count, size_t entrySize,
                    const char* invalid) {
    if (count > reader.Remaining() / entrySize) throw EInvalidGraphic(invalid);
    header.format.colors.resize(count);
    for (TRgbQuad& color : header.format.colors) {
        color.blue = reader.ReadU8<EInvalidGraphic>(invalid);
        color.green = reader.ReadU8<EInvalidGraphic>(invalid);
        color.red = reader.ReadU8<EInvalidGraphic>(invalid);
        if (entrySize == 4) reader.ReadU8<EInvalidGraphic>(invalid);
    }
}

}  // namespace

TDibHeader ReadDibHeader(ByteReader& reader, const char* invalid, uint32_t heightScale) {
    TDibHeader header;
    size_t start = reader.Position();
    header.headerSize = reader.ReadU32LE<EInvalidGraphic>(invalid);
    if (header.headerSize > reader.Size() - start) throw EInvalidGraphic(invalid);
    uint32_t colorsUsed = 0;
    if (header.headerSize == kCoreHeaderSize) {
        ReadCoreHeader(reader, header, invalid);
    } else if (header.headerSize >= kInfoHeaderSize && header.headerSize <= 4096) {
        colorsUsed = ReadInfoHeader(reader, header, invalid);
    } else {
        throw EInvalidGraphic(invalid);
    }
    if (!ValidBitCount(header.bitCount) || !ValidCompression(header.compression, header.bitCount))
        throw EInvalidGraphic(invalid);
    if (header.topDown && header.compression != kBiRgb && header.compression != kBiBitFields)
        throw EInvalidGraphic(invalid);
    header.height /= heightScale;
    if (header.width == 0 || header.height == 0 || header.width > kMaxDibSide || header.height > kMaxDibSide)
        throw EInvalidGraphic(invalid);
    header.format.bitCount = header.bitCount;

    // Masks live inside the longer headers, or just after the 40-byte one.
    if (header.compression == kBiBitFields) {
        if (header.headerSize >= 52) {
            ByteReader inside(reader.Current() - (reader.Position() - start), header.headerSize);
            inside.SeekTo(40);
            ReadMasks(inside, header, invalid);
        }
        if (!reader.SeekTo(start + header.headerSize)) throw EInvalidGraphic(invalid);
        if (header.headerSize == kInfoHeaderSize) ReadMasks(reader, header, invalid);
        header.format.compression = kBiBitFields;
    } else if (!reader.SeekTo(start + header.headerSize)) {
        throw EInvalidGraphic(invalid);
    }

    // Indexed pictures carry their colour table; a count beyond the depth is clamped, as the
    // extra entries could never be used. Tables of deeper pictures are skipped.
    uint32_t depthColors = header.bitCount <= 8 ? (1u << header.bitCount) : 0;
    size_t entrySize = header.headerSize == kCoreHeaderSize ? 3 : 4;
    if (header.bitCount <= 8) {
        uint32_t count = colorsUsed == 0 || colorsUsed > depthColors ? depthColors : colorsUsed;
        ReadColorTable(reader, header, count, entrySize, invalid);
    } else if (colorsUsed) {
        if (colorsUsed > reader.Remaining() / entrySize) throw EInvalidGraphic(invalid);
        reader.Skip<EInvalidGraphic>(colorsUsed * entrySize, invalid);
    }
    return header;
}
