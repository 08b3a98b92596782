#include "skin/stored/LzhufTree.h"

#include <algorithm>
#include <array>

namespace Lzhuf {

const uint8_t PositionCodeLength[64] = {
    3, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,
    6, 6, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7,
    7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8,
};

const uint8_t PositionCode[64] = {
    0x00, 0x20, 0x30, 0x40, 0x50, 0x58, 0x60, 0x68, 0x70, 0x78, 0x80, 0x88, 0x90, 0x94, 0x98, 0x9C,
    0xA0, 0xA4, 0xA8, 0xAC, 0xB0, 0xB4, 0xB8, 0xBC, 0xC0, 0xC2, 0xC4, 0xC6, 0xC8, 0xCA, 0xCC, 0xCE,
    0xD0, 0xD2, 0xD4, 0xD6, 0xD8, 0xDA, 0xDC, 0xDE, 0xE0, 0xE2, 0xE4, 0xE6, 0xE8, 0xEA, 0xEC, 0xEE,
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF,
};

namespace {

// Every 8-bit value that starts with code c of length n belongs to c: 2^(8-n) values each.
struct DecodingTables {
    std::array<uint8_t, 256> upper{};
    std::array<uint8_t, 256> length{};
    DecodingTables() {
        for (int index = 0; index < 64; ++index) {
            int span = 1 << (8 - PositionCodeLength[index]);
            for (int k = 0; k < span; ++k) {
                upper[PositionCode[index] + k] = static_cast<uint8_t>(index);
                length[PositionCode[index] + k] = PositionCodeLength[index];
            }
        }
    }
};

const DecodingTables& Tables() {
    static const DecodingTables tables;
    return tables;
}

}  // namespace

uint8_t PositionUpperBits(uint8_t firstByte) { return Tables().upper[firstByte]; }
uint8_t PositionBitLength(uint8_t firstByte) { return Tables().length[firstByte]; }

}  // namespace Lzhuf

using namespace Lzhuf;

TLzhufTree::TLzhufTree() : freq_(TreeSize + 1), prnt_(TreeSize + SymbolCount), son_(TreeSize) {
    for (int i = 0; i < SymbolCount; ++i) {
        freq_[i] = 1;
        son_[i] = i + TreeSize;
        prnt_[i + TreeSize] = i;
    }
    // Pair the nodes in order: node j joins nodes i and i + 1.
    for (int i = 0, j = SymbolCount; j <= Root; i += 2, ++j) {
        freq_[j] = freq_[i] + freq_[i + 1];
        son_[j] = i;
        prnt_[i] = prnt_[i + 1] = j;
    }
    freq_[TreeSize] = 0xFFFF;
    prnt_[Root] = 0;
}

void TLzhufTree::Rebuild() {
    ++rebuilds_;
    // Gather the leaves at the front with their counts halved, rounding up.
    int j = 0;
    for (int i = 0; i < TreeSize; ++i) {
        if (son_[i] >= TreeSize) {
            freq_[j] = (freq_[i] + 1) / 2;
            son_[j] = son_[i];
            ++j;
        }
    }
    // Join pairs again, inserting each new node where its count keeps the order.
    for (int i = 0, node = SymbolCount; node < TreeSize; i += 2, ++node) {
        uint32_t f = freq_[i] + freq_[i + 1];
        int k = node - 1;
        while (f < freq_[k]) --k;
        ++k;
        std::move_backward(freq_.begin() + k, freq_.begin() + node, freq_.begin() + node + 1);
        freq_[k] = f;
        std::move_backward(son_.begin() + k, son_.begin() + node, son_.begin() + node + 1);
        son_[k] = i;
    }
    for (int i = 0; i < TreeSize; ++i) {
        int k = son_[i];
        if (k >= TreeSize) {
            prnt_[k] = i;
        } else {
            prnt_[k] = prnt_[k + 1] = i;
        }
    }
}

void TLzhufTree::Update(int symbol) {
    if (freq_[Root] == MaxFrequency) Rebuild();
    int c = prnt_[symbol + TreeSize];
    do {
        uint32_t k = ++freq_[c];
        // When the order is disturbed, swap this node with the last one of a smaller count.
        int l = c + 1;
        if (k > freq_[l]) {
            while (k > freq_[++l]) {
            }
            --l;
            freq_[c] = freq_[l];
            freq_[l] = k;
            int i = son_[c];
            prnt_[i] = l;
            if (i < TreeSize) prnt_[i + 1] = l;
            int j = son_[l];
            son_[l] = i;
            prnt_[j] = c;
            if (j < TreeSize) prnt_[j + 1] = c;
            son_[c] = j;
            c = l;
        }
        c = prnt_[c];
    } while (c != 0);
}
