#pragma once
// Octree colour quantiser: every pixel descends the tree by one bit of each channel a level;
// whenever there are more leaves than wanted, the deepest reducible node folds its children
// into itself.
#include <cstdint>
#include <memory>
#include <vector>

#include "gif/codec/GifColorMap.h"

class TOctreeNode {
public:
    bool IsLeaf = false;
    uint32_t PixelCount = 0;
    uint64_t RedSum = 0, GreenSum = 0, BlueSum = 0;
    std::unique_ptr<TOctreeNode> Children[8];
    TOctreeNode* Next = nullptr;  // the next node of the same level's reducible list
};

class TColorQuantizer {
public:
    static constexpr int ColorBits = 8;

    explicit TColorQuantizer(int maxColors);
    ~TColorQuantizer();
    TColorQuantizer(const TColorQuantizer&) = delete;
    TColorQuantizer& operator=(const TColorQuantizer&) = delete;

    void AddColor(uint8_t red, uint8_t green, uint8_t blue);
    int LeafCount() const { return leafCount_; }
    // The leaves depth-first in child order, each as its average colour; black beyond them.
    std::vector<TGIFColor> ColorTable(int entries) const;

private:
    TOctreeNode* CreateNode(int level);
    bool Reduce();

    const int maxColors_;
    int leafCount_ = 0;
    TOctreeNode* reducible_[ColorBits] = {};
    std::unique_ptr<TOctreeNode> root_;
};
