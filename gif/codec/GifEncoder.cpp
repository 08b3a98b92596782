#include "gif/codec/GifEncoder.h"

#include "base/Exceptions.h"

void TGIFEncoder::ColorNotInTable() { throw GIFException(ErrorText::GifColorNotInTable); }

void TGIFEncoder::FlushBytes() {
    writer_->WriteBytes(bytes_, byteCount_);
    byteCount_ = 0;
}

void TGIFEncoder::Begin(TGIFWriter& writer, int bitsPerPixel, int colorCount) {
    writer_ = &writer;
    bits_ = 0;
    bitCount_ = 0;
    byteCount_ = 0;
    BitsPerPixel = bitsPerPixel;
    ColorCount = colorCount;
    ClearCode = 1 << bitsPerPixel;
    EOICode = ClearCode + 1;
    InitialCodeSize = bitsPerPixel + 1;
    CodeSize = InitialCodeSize;
    coding_ = false;
}

void TGIFEncoder::Add(const uint8_t* pixels, size_t count) {
    if (count == 0) return;
    if (!coding_) BeginPixels();
    coding_ = true;
    EncodePixels(pixels, count);
}

void TGIFEncoder::Finish() {
    if (coding_) EndPixels();
    coding_ = false;
    Output(EOICode);
    if (bitCount_ > 0) bytes_[byteCount_++] = static_cast<uint8_t>(bits_);
    FlushBytes();
    bits_ = 0;
    bitCount_ = 0;
}

void TGIFEncoder::Encode(TGIFWriter& writer, const uint8_t* pixels, int width, int height, bool interlaced,
                         int bitsPerPixel, int colorCount) {
    Begin(writer, bitsPerPixel, colorCount);
    if (pixels && width > 0 && height > 0) {
        const size_t rowBytes = static_cast<size_t>(width);
        if (!interlaced) {
            Add(pixels, rowBytes * static_cast<size_t>(height));
        } else {
            static const int passStart[4] = {0, 4, 2, 1};
            static const int passStep[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = passStart[pass]; y < height; y += passStep[pass])
                    Add(pixels + static_cast<size_t>(y) * rowBytes, rowBytes);
        }
    }
    Finish();
}
