#pragma once
// Output of coded pixel data as GIF data sub-blocks: a length byte and up to 255 bytes.
// Whole sub-blocks are gathered and passed to the target stream in larger pieces.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Streams.h"

class TGIFStream {
public:
    explicit TGIFStream(TStream& target) : target_(target) {}
    TGIFStream(const TGIFStream&) = delete;
    TGIFStream& operator=(const TGIFStream&) = delete;

protected:
    TStream& target_;
    uint8_t buffer_[256];  // length byte and data of the sub-block being filled
    int count_ = 0;        // data bytes in buffer_
};

class TGIFWriter : public TGIFStream {
public:
    explicit TGIFWriter(TStream& target);
    ~TGIFWriter();

    void WriteByte(uint8_t value) {
        buffer_[1 + count_] = value;
        if (++count_ == 255) FlushBlock();
    }
    void WriteBytes(const uint8_t* bytes, size_t count);
    // Writes the pending partial sub-block (if any) and the block terminator.
    void Finish();

private:
    void FlushBlock();
    void FlushPending();

    std::vector<uint8_t> pending_;  // whole sub-blocks not yet passed to the target
    bool finished_ = false;
};
