#include "skin/stored/Lzh.h"

#include <memory>
#include <new>

#include "skin/stored/LzhufTree.h"

using namespace Lzhuf;

namespace {

// Bits most-significant first from a 16-bit buffer refilled a byte at a time.
class TBitInput {
public:
    explicit TBitInput(const TLZH::ReadByteFn& readByte) : readByte_(readByte) {}

    int Bit() {
        Fill();
        int bit = (buffer_ >> 15) & 1;
        buffer_ = static_cast<uint16_t>(buffer_ << 1);
        --count_;
        return bit;
    }
    int Byte() {
        Fill();
        int byte = buffer_ >> 8;
        buffer_ = static_cast<uint16_t>(buffer_ << 8);
        count_ -= 8;
        return byte;
    }

private:
    void Fill() {
        while (count_ <= 8) {
            uint8_t next = 0;
            if (!readByte_(next)) next = 0;
            buffer_ = static_cast<uint16_t>(buffer_ | (next << (8 - count_)));
            count_ += 8;
        }
    }

    const TLZH::ReadByteFn& readByte_;
    uint16_t buffer_ = 0;
    int count_ = 0;
};

struct TWorkTables {
    TLzhufTree tree;
    std::vector<uint8_t> ring = std::vector<uint8_t>(RingSize + LongestMatch - 1, FillByte);
};

int DecodeSymbol(TLzhufTree& tree, TBitInput& in) {
    int node = tree.Child(Root);
    while (node < TreeSize) node = tree.Child(node + in.Bit());
    int symbol = node - TreeSize;
    tree.Update(symbol);
    return symbol;
}

int DecodePosition(TBitInput& in) {
    int first = in.Byte();
    int upper = PositionUpperBits(static_cast<uint8_t>(first)) << 6;
    int extraBits = PositionBitLength(static_cast<uint8_t>(first)) - 2;
    int low = first;
    while (extraBits-- > 0) low = (low << 1) + in.Bit();
    return upper | (low & 0x3F);
}

std::unique_ptr<TWorkTables> AllocateTables() {
    try {
        return std::make_unique<TWorkTables>();
    } catch (const std::bad_alloc&) {
        throw ElzhException(ErrorText::LzhNoMemory);
    }
}

}  // namespace

void TLZH::Unpack(int64_t size, const ReadByteFn& readByte, const WriteByteFn& writeByte) {
    if (size <= 0) return;
    std::unique_ptr<TWorkTables> tables = AllocateTables();
    TLzhufTree& tree = tables->tree;
    std::vector<uint8_t>& ring = tables->ring;
    TBitInput in(readByte);
    int write = FirstWritePosition;
    auto emit = [&](uint8_t byte) {
        writeByte(byte);
        ring[write] = byte;
        write = (write + 1) & (RingSize - 1);
    };
    for (int64_t produced = 0; produced < size;) {
        int symbol = DecodeSymbol(tree, in);
        if (symbol < 256) {
            emit(static_cast<uint8_t>(symbol));
            ++produced;
            continue;
        }
        int start = (write - DecodePosition(in) - 1) & (RingSize - 1);
        int length = symbol - 255 + Threshold;
        for (int k = 0; k < length && produced < size; ++k, ++produced) {
            emit(ring[(start + k) & (RingSize - 1)]);
        }
    }
}

std::vector<uint8_t> LzhUnpackBuffer(const uint8_t* data, size_t length, size_t size) {
    std::vector<uint8_t> out;
    try {
        out.reserve(size);
    } catch (const std::bad_alloc&) {
        throw ElzhException(ErrorText::LzhNoMemory);
    }
    size_t at = 0;
    TLZH().Unpack(static_cast<int64_t>(size),
                  [&](uint8_t& byte) {
                      if (at >= length) return false;
                      byte = data[at++];
                      return true;
                  },
                  [&](uint8_t byte) { out.push_back(byte); });
    return out;
}
