#pragma once
// A frame's LZW data arrives in sub-blocks of at most 255 bytes. The reader joins them into
// one run of bytes (so codes that straddle two sub-blocks need no special case) and hands out
// codes least significant bit first.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "base/ByteOrder.h"

class ByteReader;

struct TGifGatheredData {
    // The joined sub-blocks, followed by kPadding zero bytes; left uninitialised before they
    // are copied in, as a photograph's data runs to megabytes.
    std::unique_ptr<uint8_t[]> bytes;
    size_t capacity = 0;         // bytes allocated
    size_t size = 0;             // joined bytes without the padding
    bool terminated = false;     // the zero-size sub-block was met
    bool truncated = false;      // a sub-block ran past the end of the data

    static constexpr size_t kPadding = 8;
};

// Reads sub-blocks up to and including the zero-size one (or the end of the data).
void GatherSubBlocks(ByteReader& in, TGifGatheredData& out);
// Skips sub-blocks the same way without keeping them; true when one was cut short.
bool SkipSubBlocks(ByteReader& in);

class TGifBitReader {
public:
    // data must stay readable for TGifGatheredData::kPadding bytes past size. Positions are
    // counted in the machine's word (64-bit arithmetic takes pairs of instructions on a 32-bit
    // processor, in the loop every pixel of a GIF goes through); a 32-bit build reads no further
    // than the 512 MB a 32-bit bit count reaches, more than any frame it can hold needs.
    TGifBitReader(const uint8_t* data, size_t size)
        : data_(data), totalBits_(std::min(size, kMaxBytes) * 8),
          roomyBits_(totalBits_ > kMaxWidth ? totalBits_ - kMaxWidth : 0) {}
    explicit TGifBitReader(const TGifGatheredData& gathered)
        : TGifBitReader(gathered.bytes.get(), gathered.size) {}

    // The next code of `width` bits (1..12), or -1 when no whole code is left.
    int Read(unsigned width) { return Read(width, (1u << width) - 1); }
    // The same where the caller has the width's mask, (1 << width) - 1, at hand.
    int Read(unsigned width, unsigned mask) {
        // Short of the last few bits every code is whole: one comparison for nearly every code.
        if (bitPos_ >= roomyBits_ && totalBits_ - bitPos_ < width) return -1;
        // A word holds the 7 bits before the code and its 12 bits, whatever the machine.
        Window window;
        std::memcpy(&window, data_ + (bitPos_ >> 3), sizeof window);
        int code = static_cast<int>((LittleEndian(window) >> (bitPos_ & 7)) & mask);
        bitPos_ += width;
        return code;
    }
    uint64_t BitsLeft() const { return totalBits_ - bitPos_; }

private:
    using Window = size_t;
    static constexpr size_t kMaxBytes = SIZE_MAX / 8;
    static constexpr size_t kMaxWidth = 12;

    const uint8_t* data_;
    size_t totalBits_;
    size_t roomyBits_;  // below this position a code of any width is whole
    size_t bitPos_ = 0;
};
