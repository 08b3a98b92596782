#include "picture/png/PngReader.h"

#include <spng.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "base/CheckedMath.h"
#include "base/Exceptions.h"

namespace {

uint32_t ReadU32BE(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

using TSpngContext = std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)>;

[[noreturn]] void ThrowPng(int error) { throw EPNG(error, PngErrorText(error)); }
[[noreturn]] void ThrowPng(const char* message) { throw EPNG(0, message); }

void Check(int error) {
    if (error) ThrowPng(error);
}

TSpngContext OpenDecoder(const uint8_t* data, size_t size) {
    TSpngContext ctx(spng_ctx_new(0), spng_ctx_free);
    if (!ctx) ThrowPng(SPNG_EMEM);
    Check(spng_set_image_limits(ctx.get(), PngLimits::MaxSide, PngLimits::MaxSide));
    Check(spng_set_chunk_limits(ctx.get(), PngLimits::MaxChunkBytes, PngLimits::MaxChunkCache));
    Check(spng_set_png_buffer(ctx.get(), data, size));
    return ctx;
}

TPngHeader HeaderOf(spng_ctx* ctx) {
    spng_ihdr ihdr{};
    Check(spng_get_ihdr(ctx, &ihdr));
    spng_trns trns{};
    const int trnsError = spng_get_trns(ctx, &trns);  // reads the chunks up to the image data
    if (trnsError && trnsError != SPNG_ECHUNKAVAIL) ThrowPng(trnsError);
    TPngHeader header;
    header.Width = static_cast<int32_t>(ihdr.width);
    header.Height = static_cast<int32_t>(ihdr.height);
    header.HasAlpha = ihdr.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ||
                      ihdr.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA || trnsError == 0;
    header.Interlaced = ihdr.interlace_method != 0;
    return header;
}

// The bytes of the filtered rows the header asks for, at the least (one pass, no interlace).
uint64_t MinimumRawBytes(const uint8_t* ihdr) {
    const uint64_t width = ReadU32BE(ihdr), height = ReadU32BE(ihdr + 4);
    static const uint8_t channels[7] = {1, 0, 3, 1, 2, 0, 4};
    const uint64_t bitsPerPixel = uint64_t{ihdr[8]} * channels[std::min<uint8_t>(ihdr[9], 6)];
    return height * (1 + (width * bitsPerPixel + 7) / 8);
}

// A decompression bomb, or a file cut short: deflate packs at most about 1032 bytes into one,
// so image data smaller than that share of the picture cannot hold it. Found by walking the
// chunk headers, before any pixel memory exists. Damage of other kinds is left to libspng.
bool TooLittleImageData(const uint8_t* data, size_t size) {
    constexpr size_t SignatureBytes = 8, ChunkOverhead = 12, IhdrBytes = 13;
    if (size < SignatureBytes + ChunkOverhead + IhdrBytes) return false;
    const uint8_t* p = data + SignatureBytes;
    const uint8_t* const end = data + size;
    const uint8_t* ihdr = p + 8;
    uint64_t idatBytes = 0;
    while (end - p >= static_cast<ptrdiff_t>(ChunkOverhead)) {
        const uint32_t length = ReadU32BE(p);
        const bool idat = std::equal(p + 4, p + 8, "IDAT");
        if (length > static_cast<size_t>(end - p) - ChunkOverhead) {
            if (idat) idatBytes += static_cast<size_t>(end - p) - ChunkOverhead;
            break;
        }
        if (idat) idatBytes += length;
        if (std::equal(p + 4, p + 8, "IEND")) break;
        p += ChunkOverhead + length;
    }
    constexpr uint64_t MaxDeflateRatio = 1032, Slack = 1024;
    return MinimumRawBytes(ihdr) > idatBytes * MaxDeflateRatio + Slack;
}

void CheckSize(const TPngHeader& header) {
    auto bytes = CheckedMul<uint64_t>(uint64_t(header.Width) * uint64_t(header.Height), header.BytesPerPixel());
    if (!bytes || *bytes > PngLimits::MaxDecodedBytes) ThrowPng(ErrorText::PngTooLarge);
}

// Blue and red trade places: libspng gives red first, bitmaps keep blue first.
void SwapRedAndBlue(uint8_t* row, int32_t width, int bytesPerPixel) {
    for (int32_t x = 0; x < width; ++x, row += bytesPerPixel) std::swap(row[0], row[2]);
}

void DecodeRows(spng_ctx* ctx, const TPngHeader& header, const TPngRows& rows, TPngDecodeTarget& target) {
    const int bpp = header.BytesPerPixel();
    const size_t rowBytes = size_t(header.Width) * bpp;
    const int format = header.HasAlpha ? SPNG_FMT_RGBA8 : SPNG_FMT_RGB8;
    Check(spng_decode_image(ctx, nullptr, 0, format, SPNG_DECODE_PROGRESSIVE | (header.HasAlpha ? SPNG_DECODE_TRNS : 0)));
    auto rowAt = [&](int64_t y) { return rows.FirstRow + static_cast<ptrdiff_t>(y) * rows.RowStep; };
    int error = 0;
    do {
        spng_row_info info{};
        Check(spng_get_row_info(ctx, &info));
        uint8_t* row = rowAt(info.row_num);
        error = spng_decode_row(ctx, row, rowBytes);
        if (error && error != SPNG_EOI) ThrowPng(error);
        if (!header.Interlaced) {
            SwapRedAndBlue(row, header.Width, bpp);
            if ((info.row_num & 15) == 15) target.RowsDecoded(static_cast<int32_t>(info.row_num) + 1);
        }
    } while (error != SPNG_EOI);
    // The chunks after the image data: the last one's CRC is checked only here.
    Check(spng_decode_chunks(ctx));
    if (header.Interlaced)
        for (int32_t y = 0; y < header.Height; ++y) SwapRedAndBlue(rowAt(y), header.Width, bpp);
    target.RowsDecoded(header.Height);
}

}  // namespace

const char* PngErrorText(int error) {
    switch (error) {
    case SPNG_EUSER_WIDTH: case SPNG_EUSER_HEIGHT: case SPNG_ECHUNK_LIMITS: case SPNG_EMEM: case SPNG_EOVERFLOW:
        return ErrorText::PngTooLarge;
    case SPNG_ECHUNK_CRC:
        return ErrorText::PngBadCrc;
    case SPNG_IO_EOF: case SPNG_IO_ERROR: case SPNG_EIO: case SPNG_EOF:
        return ErrorText::PngTruncated;
    case SPNG_ECHUNK_SIZE: case SPNG_ECHUNK_STDLEN: case SPNG_EIHDR_SIZE:
        return ErrorText::PngBadChunkLength;
    case SPNG_EIDAT_TOO_SHORT: case SPNG_EIDAT_STREAM: case SPNG_EZLIB: case SPNG_EFILTER:
        return ErrorText::PngBadData;
    default:
        return ErrorText::PngInvalid;
    }
}

TPngHeader ReadPngHeader(const uint8_t* data, size_t size) {
    TSpngContext ctx = OpenDecoder(data, size);
    return HeaderOf(ctx.get());
}

void DecodePng(const uint8_t* data, size_t size, TPngDecodeTarget& target) {
    TSpngContext ctx = OpenDecoder(data, size);
    const TPngHeader header = HeaderOf(ctx.get());
    CheckSize(header);
    if (TooLittleImageData(data, size)) ThrowPng(ErrorText::PngTooLittleData);
    DecodeRows(ctx.get(), header, target.PrepareRows(header), target);
}
