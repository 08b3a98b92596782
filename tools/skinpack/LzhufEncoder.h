#pragma once
// LZHUF compression for the build machine's skin packer: greedy LZSS matches within the
// decoder's 4096-byte ring, coded with the same adaptive Huffman model the decoder keeps.
#include <cstddef>
#include <cstdint>
#include <vector>

// What a compression coded, for tests that must know the coder exercised every match length
// and distance.
struct TLzhufCodingStats {
    size_t literals = 0;
    size_t matches = 0;
    std::vector<size_t> lengthUse;    // index = match length
    std::vector<size_t> distanceUse;  // index = distance back
    int treeRebuilds = 0;
};

std::vector<uint8_t> LzhufCompress(const uint8_t* data, size_t size, TLzhufCodingStats* stats = nullptr);
inline std::vector<uint8_t> LzhufCompress(const std::vector<uint8_t>& data, TLzhufCodingStats* stats = nullptr) {
    return LzhufCompress(data.data(), data.size(), stats);
}
