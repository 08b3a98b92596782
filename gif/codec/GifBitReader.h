#pragma once
// A frame's LZW data arrives in sub-blocks of at most 255 bytes. The reader joins them into
// one run of bytes (so codes that straddle two sub-blocks need no special case) and hands out
// codes least significant bit first.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

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
    // data must stay readable for TGifGatheredData::kPadding bytes past size.
    TGifBitReader(const uint8_t* data, size_t size) : data_(data), totalBits_(static_cast<uint64_t>(size) * 8) {}
    explicit TGifBitReader(const TGifGatheredData& gathered)
        : TGifBitReader(gathered.bytes.get(), gathered.size) {}

    // The next code of `width` bits (1..12), or -1 when no whole code is left.
    int Read(unsigned width) {
        if (totalBits_ - bitPos_ < width) return -1;
        uint64_t word;
        std::memcpy(&word, data_ + (bitPos_ >> 3), sizeof word);
        int code = static_cast<int>((LittleEndian(word) >> (bitPos_ & 7)) & ((1u << width) - 1));
        bitPos_ += width;
        return code;
    }
    uint64_t BitsLeft() const { return totalBits_ - bitPos_; }

private:
    static uint64_t LittleEndian(uint64_t v) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        return __builtin_bswap64(v);
#else
        return v;
#endif
    }

    const uint8_t* data_;
    uint64_t totalBits_;
    uint64_t bitPos_ = 0;
};
