#include "gif/colour/DibWriter.h"

#include <algorithm>
#include <new>

#include "base/ByteReader.h"
#include "base/CheckedMath.h"
#include "base/Exceptions.h"

namespace {
constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40;
}  // namespace

TDIBWriter::TDIBWriter(const std::vector<TGIFColor>& palette, int height, int width, int bitsPerPixel)
    : width_(width), height_(height), bitsPerPixel_(bitsPerPixel) {
    if (width <= 0 || height <= 0) throw GIFException(ErrorText::GifInvalidDimensions);
    if (bitsPerPixel != 8 && bitsPerPixel != 24) throw GIFException(ErrorText::GifUnsupportedPixelFormat);
    auto rowBytes = AlignedRowBytes(static_cast<uint32_t>(width), static_cast<uint32_t>(bitsPerPixel));
    auto total = rowBytes ? CheckedMul<uint64_t>(*rowBytes, static_cast<uint64_t>(height)) : std::nullopt;
    if (!total || *total > 0x7FFFFFFFu) throw EOutOfMemory(ErrorText::GifDibAllocFailed);
    rowBytes_ = *rowBytes;
    importantColors_ = static_cast<int>(std::min<size_t>(palette.size(), 256));
    if (bitsPerPixel == 8) {
        colors_.assign(palette.begin(), palette.begin() + importantColors_);
        colors_.resize(256);
    }
    bitsSize_ = static_cast<size_t>(*total);
    bits_.reset(new (std::nothrow) uint8_t[bitsSize_]);
    if (!bits_) throw EOutOfMemory(ErrorText::GifDibAllocFailed);
    const size_t used = (static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel) + 7) / 8;
    for (int row = 0; row < height; ++row) {
        uint8_t* line = bits_.get() + static_cast<size_t>(row) * rowBytes_;
        std::fill(line + used, line + rowBytes_, 0);
    }
}

uint8_t* TDIBWriter::ScanLine(int row) {
    if (!bits_) throw GIFException(ErrorText::GifNoDib);
    if (row < 0 || row >= height_) throw EInvalidGraphicOperation(ErrorText::ScanLineRange);
    return bits_.get() + static_cast<size_t>(height_ - 1 - row) * rowBytes_;
}

std::vector<uint8_t> TDIBWriter::ReleaseBitmapFile() {
    if (!bits_) throw GIFException(ErrorText::GifNoDib);
    const uint32_t tableBytes = static_cast<uint32_t>(colors_.size()) * 4;
    const uint32_t offset = FileHeaderSize + InfoHeaderSize + tableBytes;
    std::vector<uint8_t> file;
    file.reserve(offset + bitsSize_);
    PutU8(file, 'B');
    PutU8(file, 'M');
    PutU32LE(file, offset + static_cast<uint32_t>(bitsSize_));
    PutU32LE(file, 0);
    PutU32LE(file, offset);
    PutU32LE(file, InfoHeaderSize);
    PutU32LE(file, static_cast<uint32_t>(width_));
    PutU32LE(file, static_cast<uint32_t>(height_));  // positive: bottom row first
    PutU16LE(file, 1);
    PutU16LE(file, static_cast<uint16_t>(bitsPerPixel_));
    PutU32LE(file, 0);  // no compression
    PutU32LE(file, static_cast<uint32_t>(bitsSize_));
    PutU32LE(file, 0);
    PutU32LE(file, 0);
    PutU32LE(file, static_cast<uint32_t>(colors_.size()));
    PutU32LE(file, bitsPerPixel_ == 8 ? static_cast<uint32_t>(importantColors_) : 0);
    for (const TGIFColor& c : colors_) {
        PutU8(file, c.Blue);
        PutU8(file, c.Green);
        PutU8(file, c.Red);
        PutU8(file, 0);
    }
    file.insert(file.end(), bits_.get(), bits_.get() + bitsSize_);
    bits_.reset();
    bitsSize_ = 0;
    return file;
}

TGIFBitmapSource TDIBWriter::AsBitmapSource() {
    TGIFBitmapSource source;
    source.Width = width_;
    source.Height = height_;
    source.BitsPerPixel = bitsPerPixel_;
    source.Colors = colors_;
    source.Row = [this](int row) -> const uint8_t* { return ScanLine(row); };
    return source;
}
