#include "picture/bmp/BmpWriter.h"

#include "base/ByteReader.h"
#include "base/CheckedMath.h"
#include "base/Exceptions.h"
#include "picture/bmp/BitmapInfoHeader.h"

std::vector<uint8_t> WriteBmp(const TDibFormat& format, uint32_t width, uint32_t height, const uint8_t* bits,
                              size_t bitsSize) {
    auto imageBytes = DibImageBytes(width, height, format.bitCount, UINT32_MAX);
    if (!imageBytes || *imageBytes > bitsSize) throw EInvalidGraphic(ErrorText::InvalidBitmap);
    bool bitFields = format.compression == kBiBitFields && (format.bitCount == 16 || format.bitCount == 32);
    size_t tableEntries = format.bitCount <= 8 ? std::min<size_t>(format.colors.size(), 1u << format.bitCount) : 0;
    uint32_t headers = 14 + kInfoHeaderSize + (bitFields ? kColourMasksSize : 0) + static_cast<uint32_t>(tableEntries * 4);
    auto total = CheckedAdd<uint32_t>(headers, static_cast<uint32_t>(*imageBytes));
    if (!total) throw EInvalidGraphic(ErrorText::InvalidBitmap);

    std::vector<uint8_t> out;
    out.reserve(*total);
    PutU16LE(out, 0x4D42);  // "BM"
    PutU32LE(out, *total);
    PutU16LE(out, 0);
    PutU16LE(out, 0);
    PutU32LE(out, headers);
    // A full table is written with a count of 0, the usual way to say "all of them".
    bool fullTable = format.bitCount <= 8 && tableEntries == (size_t{1} << format.bitCount);
    TDibFormat written = format;
    if (!bitFields) written.compression = kBiRgb;
    PutDibHeader(out, written, width, height, static_cast<uint32_t>(*imageBytes),
                 fullTable ? 0 : static_cast<uint32_t>(tableEntries), tableEntries);
    PutBytes(out, bits, *imageBytes);
    return out;
}
