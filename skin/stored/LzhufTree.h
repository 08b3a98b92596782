#pragma once
// The adaptive Huffman model of LZHUF (LZSS with adaptive Huffman coding), shared by the
// skin decompressor and the build machine's skin packer so both walk the same tree.
#include <cstdint>
#include <vector>

namespace Lzhuf {

constexpr int RingSize = 4096;          // N
constexpr int LongestMatch = 60;        // F
constexpr int Threshold = 2;            // matches of Threshold bytes or fewer are not coded
constexpr int SymbolCount = 256 - Threshold + LongestMatch;  // 314: literals and lengths 3..60
constexpr int TreeSize = SymbolCount * 2 - 1;                // 627
constexpr int Root = TreeSize - 1;                           // 626
constexpr uint32_t MaxFrequency = 0x8000;
constexpr int FirstWritePosition = RingSize - LongestMatch;  // 4036, after the spaces
constexpr uint8_t FillByte = 0x20;

// The match position's upper 6 bits are coded with these lengths and codes (the position
// encoding table of the method); the lower 6 bits follow verbatim.
extern const uint8_t PositionCodeLength[64];
extern const uint8_t PositionCode[64];
// Decoding side of the same tables, indexed by the next 8 bits of input: the upper 6 bits
// of the position and the length of their code.
uint8_t PositionUpperBits(uint8_t firstByte);
uint8_t PositionBitLength(uint8_t firstByte);

}  // namespace Lzhuf

// Frequencies, parents and children of the 627-node tree. Leaves are numbered TreeSize +
// symbol in the parent and child tables; the child of an inner node k is Children[k] (bit 0)
// and Children[k] + 1 (bit 1).
class TLzhufTree {
public:
    TLzhufTree();

    // Adds one occurrence of symbol, rebuilding the tree with halved counts when the root
    // has reached the frequency limit.
    void Update(int symbol);

    int Child(int node) const { return son_[node]; }
    int Parent(int node) const { return prnt_[node]; }
    int LeafNode(int symbol) const { return prnt_[symbol + Lzhuf::TreeSize]; }
    uint32_t Frequency(int node) const { return freq_[node]; }
    int RebuildCount() const { return rebuilds_; }

private:
    void Rebuild();

    std::vector<uint32_t> freq_;  // TreeSize + 1, the last one a sentinel
    std::vector<int> prnt_;       // TreeSize + SymbolCount
    std::vector<int> son_;        // TreeSize
    int rebuilds_ = 0;
};
