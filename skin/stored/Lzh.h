#pragma once
// The skin decompressor: LZHUF (LZSS over a 4096-byte ring with adaptive Huffman coding).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "base/Exceptions.h"

class TLZH {
public:
    // Supplies the next compressed byte; false once the data has ended.
    using ReadByteFn = std::function<bool(uint8_t& byte)>;
    using WriteByteFn = std::function<void(uint8_t byte)>;

    // Produces exactly `size` bytes. Compressed data that ends early reads on as zero bytes,
    // so a truncated stream still yields `size` bytes. Throws ElzhException when the work
    // tables cannot be had.
    void Unpack(int64_t size, const ReadByteFn& readByte, const WriteByteFn& writeByte);
};

// Decompresses `size` bytes from data[0..length) into a new buffer.
std::vector<uint8_t> LzhUnpackBuffer(const uint8_t* data, size_t length, size_t size);
