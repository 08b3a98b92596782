#include "picture/bmp/BmpReader.h"

#include <algorithm>
#include <cstring>

#include "base/ByteReader.h"
#include "base/Exceptions.h"
#include "picture/bmp/BmpBitFields.h"
#include "picture/bmp/BmpRle.h"
#include "picture/bmp/DibHeader.h"

namespace {

constexpr size_t kFileHeaderSize = 14;

[[noreturn]] void Invalid() { throw EInvalidGraphic(ErrorText::InvalidBitmap); }

void ReadUncompressed(const uint8_t* data, size_t size, size_t offset, const TDibHeader& header,
                      TBmpImage& image) {
    auto bytes = DibImageBytes(header.width, header.height, header.bitCount, kMaxDecodedBytes);
    if (!bytes) Invalid();
    if (*bytes > size - offset) throw EReadError(ErrorText::StreamRead);
    uint32_t rowBytes = *DibRowBytes(header.width, header.bitCount);
    image.bits.resize(*bytes);
    if (header.topDown) {
        for (uint32_t y = 0; y < header.height; ++y)
            std::memcpy(image.bits.data() + static_cast<size_t>(header.height - 1 - y) * rowBytes,
                        data + offset + static_cast<size_t>(y) * rowBytes, rowBytes);
    } else {
        std::memcpy(image.bits.data(), data + offset, *bytes);
    }
    image.consumed = offset + *bytes;
    NormalizeBitFields(image.format, image.bits, image.width, image.height);
}

void ReadRunLength(const uint8_t* data, size_t size, size_t offset, const TDibHeader& header, TBmpImage& image) {
    size_t available = size - offset;
    size_t length = header.sizeImage != 0 && header.sizeImage <= available ? header.sizeImage : available;
    size_t budget = std::min(kMaxDecodedBytes, std::max(kRleMinimumBudget, length * kRleExpansionLimit));
    if (!DibImageBytes(header.width, header.height, header.bitCount, budget)) Invalid();
    image.bits = DecodeRle(data + offset, length, header.bitCount, header.width, header.height);
    image.consumed = offset + length;
    image.runLengthEncoded = true;
}

// Reads from the information header on; `pixelOffset` is where the file header says the
// pixels start (0 when there is no file header).
TBmpImage ReadDib(const uint8_t* data, size_t size, size_t headerStart, size_t pixelOffset) {
    ByteReader reader(data, size);
    reader.SeekTo(headerStart);
    TDibHeader header = ReadDibHeader(reader, ErrorText::InvalidBitmap);
    TBmpImage image;
    image.format = header.format;
    image.width = header.width;
    image.height = header.height;
    // A pixel offset that points into the headers or past the data is not believed.
    size_t offset = reader.Position();
    if (pixelOffset >= offset && pixelOffset <= size) offset = pixelOffset;
    if (header.compression == kBiRle8 || header.compression == kBiRle4) {
        ReadRunLength(data, size, offset, header, image);
    } else {
        ReadUncompressed(data, size, offset, header, image);
    }
    return image;
}

}  // namespace

TBmpImage ReadBmp(const uint8_t* data, size_t size) {
    ByteReader reader(data, size);
    if (reader.ReadU16LE<EInvalidGraphic>(ErrorText::InvalidBitmap) != 0x4D42) Invalid();
    reader.Skip<EInvalidGraphic>(8, ErrorText::InvalidBitmap);  // file size and reserved words
    uint32_t pixelOffset = reader.ReadU32LE<EInvalidGraphic>(ErrorText::InvalidBitmap);
    return ReadDib(data, size, kFileHeaderSize, pixelOffset);
}

TBmpImage ReadPackedDib(const uint8_t* data, size_t size) { return ReadDib(data, size, 0, 0); }
