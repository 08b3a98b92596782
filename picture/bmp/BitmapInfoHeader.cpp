#include "picture/bmp/BitmapInfoHeader.h"

#include <algorithm>

void ReadInfoHeaderFields(ByteReader& reader, TBitmapInfoHeader& h, const char* invalid) {
    h.width = reader.ReadI32LE<EInvalidGraphic>(invalid);
    h.height = reader.ReadI32LE<EInvalidGraphic>(invalid);
    h.planes = reader.ReadU16LE<EInvalidGraphic>(invalid);
    h.bitCount = reader.ReadU16LE<EInvalidGraphic>(invalid);
    h.compression = reader.ReadU32LE<EInvalidGraphic>(invalid);
    h.sizeImage = reader.ReadU32LE<EInvalidGraphic>(invalid);
    h.xPelsPerMeter = reader.ReadI32LE<EInvalidGraphic>(invalid);
    h.yPelsPerMeter = reader.ReadI32LE<EInvalidGraphic>(invalid);
    h.clrUsed = reader.ReadU32LE<EInvalidGraphic>(invalid);
    h.clrImportant = reader.ReadU32LE<EInvalidGraphic>(invalid);
}

TBitmapInfoHeader LoadBitmapInfoHeader(const uint8_t* bytes) {
    ByteReader reader(bytes, kInfoHeaderSize);
    TBitmapInfoHeader h;
    h.size = reader.ReadU32LE();
    ReadInfoHeaderFields(reader, h, ErrorText::InvalidBitmap);
    return h;
}

void PutBitmapInfoHeader(std::vector<uint8_t>& out, const TBitmapInfoHeader& h) {
    PutU32LE(out, h.size);
    PutU32LE(out, static_cast<uint32_t>(h.width));
    PutU32LE(out, static_cast<uint32_t>(h.height));
    PutU16LE(out, h.planes);
    PutU16LE(out, h.bitCount);
    PutU32LE(out, h.compression);
    PutU32LE(out, h.sizeImage);
    PutU32LE(out, static_cast<uint32_t>(h.xPelsPerMeter));
    PutU32LE(out, static_cast<uint32_t>(h.yPelsPerMeter));
    PutU32LE(out, h.clrUsed);
    PutU32LE(out, h.clrImportant);
}

TInfoHeaderBytes StoreBitmapInfoHeader(const TBitmapInfoHeader& header) {
    std::vector<uint8_t> out;
    out.reserve(kInfoHeaderSize);
    PutBitmapInfoHeader(out, header);
    TInfoHeaderBytes bytes{};
    std::copy(out.begin(), out.end(), bytes.begin());
    return bytes;
}
