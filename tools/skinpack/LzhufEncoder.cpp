#include "tools/skinpack/LzhufEncoder.h"

#include <algorithm>

#include "skin/stored/LzhufTree.h"

using namespace Lzhuf;

namespace {

// The oldest distance coded: 12 position bits hold distances 1 … 4096, but the bytes of the
// last look-ahead are never referred to, as the method's own coder never does.
constexpr int MaxDistance = RingSize - LongestMatch;
constexpr int MinMatch = Threshold + 1;
constexpr int HashBits = 15;
constexpr int MaxChain = 256;

class TBitOutput {
public:
    explicit TBitOutput(std::vector<uint8_t>& sink) : sink_(sink) {}
    void Bit(int bit) {
        current_ = static_cast<uint8_t>((current_ << 1) | (bit & 1));
        if (++count_ == 8) {
            sink_.push_back(current_);
            current_ = 0;
            count_ = 0;
        }
    }
    void Bits(uint32_t value, int length) {
        for (int i = length - 1; i >= 0; --i) Bit(static_cast<int>((value >> i) & 1));
    }
    void Flush() {
        while (count_ != 0) Bit(0);
    }

private:
    std::vector<uint8_t>& sink_;
    uint8_t current_ = 0;
    int count_ = 0;
};

void EncodeSymbol(TLzhufTree& tree, TBitOutput& out, int symbol) {
    // Walk from the leaf up; an odd node is the second child (bit 1). Emit root first.
    int path[TreeSize];
    int depth = 0;
    int node = tree.LeafNode(symbol);
    do {
        path[depth++] = node & 1;
        node = tree.Parent(node);
    } while (node != Root);
    while (depth > 0) out.Bit(path[--depth]);
    tree.Update(symbol);
}

void EncodePosition(TBitOutput& out, int position) {
    int upper = position >> 6;
    out.Bits(PositionCode[upper] >> (8 - PositionCodeLength[upper]), PositionCodeLength[upper]);
    out.Bits(static_cast<uint32_t>(position & 0x3F), 6);
}

class TMatchFinder {
public:
    TMatchFinder(const uint8_t* data, size_t size)
        : data_(data), size_(size), head_(size_t{1} << HashBits, -1), chain_(size, -1) {}

    // Longest earlier match at `at` (length 0 when under MinMatch); records `at` afterwards.
    int Find(size_t at, int& distance) {
        int best = 0;
        if (at + MinMatch <= size_) {
            int limit = static_cast<int>(std::min<size_t>(LongestMatch, size_ - at));
            int tries = MaxChain;
            for (long candidate = head_[Hash(at)]; candidate >= 0 && tries-- > 0; candidate = chain_[candidate]) {
                long back = static_cast<long>(at) - candidate;
                if (back > MaxDistance) break;
                int length = 0;
                while (length < limit && data_[candidate + length] == data_[at + length]) ++length;
                if (length > best) {
                    best = length;
                    distance = static_cast<int>(back);
                    if (length == limit) break;
                }
            }
        }
        Insert(at);
        return best >= MinMatch ? best : 0;
    }
    void Insert(size_t at) {
        if (at + MinMatch > size_) return;
        size_t h = Hash(at);
        chain_[at] = head_[h];
        head_[h] = static_cast<long>(at);
    }

private:
    size_t Hash(size_t at) const {
        uint32_t v = (data_[at] << 16) | (data_[at + 1] << 8) | data_[at + 2];
        return (v * 2654435761u) >> (32 - HashBits);
    }

    const uint8_t* data_;
    size_t size_;
    std::vector<long> head_;
    std::vector<long> chain_;
};

}  // namespace

std::vector<uint8_t> LzhufCompress(const uint8_t* data, size_t size, TLzhufCodingStats* stats) {
    TLzhufCodingStats local;
    TLzhufCodingStats& counts = stats ? *stats : local;
    counts = TLzhufCodingStats();
    counts.lengthUse.assign(LongestMatch + 1, 0);
    counts.distanceUse.assign(MaxDistance + 1, 0);
    std::vector<uint8_t> packed;
    TBitOutput out(packed);
    TLzhufTree tree;
    TMatchFinder finder(data, size);
    for (size_t at = 0; at < size;) {
        int distance = 0;
        int length = finder.Find(at, distance);
        if (length == 0) {
            EncodeSymbol(tree, out, data[at]);
            ++counts.literals;
            ++at;
            continue;
        }
        EncodeSymbol(tree, out, 255 - Threshold + length);
        EncodePosition(out, distance - 1);
        ++counts.matches;
        ++counts.lengthUse[length];
        ++counts.distanceUse[distance];
        for (int k = 1; k < length; ++k) finder.Insert(at + k);
        at += length;
    }
    out.Flush();
    counts.treeRebuilds = tree.RebuildCount();
    return packed;
}
