#pragma once
// What the pixel-data encoders share: the code constants of a frame, packing codes least
// significant bit first into data sub-blocks, and walking the pixels in the frame's order.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/ByteOrder.h"
#include "gif/codec/GifStream.h"

class TGIFEncoder {
public:
    virtual ~TGIFEncoder() = default;

    // Codes width x height pixels (row by row in the four interlace passes when asked), then
    // the end code, and pads the last byte with zero bits. bitsPerPixel is at least 2; every
    // pixel must lie below colorCount ("Color not in color table").
    void Encode(TGIFWriter& writer, const uint8_t* pixels, int width, int height, bool interlaced,
                int bitsPerPixel, int colorCount);

    // The same in pieces, for pixels that arrive a few rows at a time (never interlaced):
    // Begin, then Add for each run in order, then Finish; the bytes are those of Encode.
    void Begin(TGIFWriter& writer, int bitsPerPixel, int colorCount);
    void Add(const uint8_t* pixels, size_t count);
    void Finish();

protected:
    virtual void BeginPixels() = 0;
    // Codes the next pixels; a run may end anywhere, the next one continues the same string.
    virtual void EncodePixels(const uint8_t* pixels, size_t count) = 0;
    virtual void EndPixels() = 0;

    // Every code stores the whole bit buffer and keeps the bytes it completed: the same few
    // steps for a code that completes one byte as for one that completes two, so nothing is
    // left for the branch predictor to guess.
    void Output(int code) {
        bits_ |= static_cast<uint32_t>(code) << bitCount_;
        bitCount_ += CodeSize;
        StoreLittleEndian(bytes_ + byteCount_, bits_);
        const int whole = bitCount_ >> 3;
        byteCount_ += static_cast<size_t>(whole);
        bits_ >>= 8 * whole;
        bitCount_ -= 8 * whole;
        if (byteCount_ >= ByteLimit) FlushBytes();
    }
    [[noreturn]] static void ColorNotInTable();

    int BitsPerPixel = 0;
    int ColorCount = 0;
    int ClearCode = 0;
    int EOICode = 0;
    int InitialCodeSize = 0;
    int CodeSize = 0;

private:
    static constexpr size_t ByteLimit = 4096;  // coded bytes gathered before the writer takes them
    static void StoreLittleEndian(uint8_t* at, uint32_t bits) {
        bits = LittleEndian(bits);
        std::memcpy(at, &bits, sizeof bits);
    }
    void FlushBytes();

    TGIFWriter* writer_ = nullptr;
    uint8_t bytes_[ByteLimit + sizeof(uint32_t)];
    size_t byteCount_ = 0;
    // Fewer than 8 bits wait between codes, and a code has at most 12: 32 bits hold them, which
    // a 32-bit build shifts in one instruction.
    uint32_t bits_ = 0;
    int bitCount_ = 0;
    bool coding_ = false;  // pixels were begun and not yet ended
};
