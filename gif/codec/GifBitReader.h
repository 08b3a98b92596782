#pragma once
// A frame's LZW data arrives in sub-blocks of at most 255 bytes. They are joined into runs of
// bytes (so codes that straddle two sub-blocks need no special case) and codes are handed out
// least significant bit first.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "base/ByteOrder.h"

class ByteReader;
class TGifBitReader;

// Joins a frame's sub-blocks a stretch at a time. Joined whole, a photograph's data took a
// buffer as large as itself: megabytes of fresh pages, written once and read once, which cost
// a 32-bit Windows program under Wine a sixth of its decoding time. A stretch stays in the
// processor's cache and is reused.
class TGifSubBlockJoiner {
public:
    static constexpr size_t kStretch = 16384;  // bytes joined at a time

    TGifSubBlockJoiner();
    ~TGifSubBlockJoiner();
    // Begins on the sub-blocks at in's position; in must outlive the reading.
    TGifBitReader Start(ByteReader& in);
    // The bits of the stretch from bitPos on, with the sub-blocks after it joined behind them.
    TGifBitReader Continue(size_t bitPos);
    // Reads past the sub-blocks not yet joined, up to and including the zero-size one; true
    // when a sub-block ran past the end of the data.
    bool Finish();

private:
    void Join();

    ByteReader* in_ = nullptr;
    std::unique_ptr<uint8_t[]> bytes_;
    size_t size_ = 0;
    size_t leftInBlock_ = 0;  // bytes of the current sub-block not yet joined
    bool ended_ = true;       // the zero-size sub-block or the end of the data was met
    bool truncated_ = false;
};

class TGifBitReader {
public:
    // Bytes past the end of the data that a read may touch (and must be able to).
    static constexpr size_t kPadding = 8;

    // data must stay readable for kPadding bytes past size. Positions are counted in the
    // machine's word (64-bit arithmetic takes pairs of instructions on a 32-bit processor, in
    // the loop every pixel of a GIF goes through); a 32-bit build reads no further than the
    // 512 MB a 32-bit bit count reaches, more than any frame it can hold needs. With `more`,
    // the joiner continues the data when its end is near.
    TGifBitReader(const uint8_t* data, size_t size, size_t bitPos = 0, TGifSubBlockJoiner* more = nullptr)
        : data_(data), totalBits_(std::min(size, kMaxBytes) * 8),
          roomyBits_(totalBits_ > kMaxWidth ? totalBits_ - kMaxWidth : 0), bitPos_(bitPos), more_(more) {}

    // The next code of `width` bits (1..12), or -1 when no whole code is left.
    int Read(unsigned width) { return Read(width, (1u << width) - 1); }
    // The same where the caller has the width's mask, (1 << width) - 1, at hand.
    int Read(unsigned width, unsigned mask) {
        // Short of the last few bits every code is whole: one comparison for nearly every code.
        if (bitPos_ >= roomyBits_ && !Whole(width)) return -1;
        // A word holds the 7 bits before the code and its 12 bits, whatever the machine.
        Window window;
        std::memcpy(&window, data_ + (bitPos_ >> 3), sizeof window);
        int code = static_cast<int>((LittleEndian(window) >> (bitPos_ & 7)) & mask);
        bitPos_ += width;
        return code;
    }
    // Bits left in the data at hand (the stretch joined so far).
    uint64_t BitsLeft() const { return totalBits_ - bitPos_; }

private:
    using Window = size_t;
    static constexpr size_t kMaxBytes = SIZE_MAX / 8;
    static constexpr size_t kMaxWidth = 12;

    // Near the end of the data at hand: joins more when there is more. Only the bit position
    // goes out, so a reader kept in a caller's locals stays in its registers.
    bool Whole(unsigned width) {
        if (more_) *this = more_->Continue(bitPos_);
        return totalBits_ - bitPos_ >= width;
    }

    const uint8_t* data_;
    size_t totalBits_;
    size_t roomyBits_;  // below this position a code of any width is whole
    size_t bitPos_;
    TGifSubBlockJoiner* more_;
};
