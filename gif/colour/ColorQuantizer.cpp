#include "gif/colour/ColorQuantizer.h"

#include <utility>

TColorQuantizer::TColorQuantizer(int maxColors) : maxColors_(maxColors < 1 ? 1 : maxColors) { root_.reset(CreateNode(0)); }

// Children are freed iteratively: a tree holds millions of nodes at most 9 deep, but a
// recursive destructor chain is cheap to avoid.
TColorQuantizer::~TColorQuantizer() {
    std::vector<std::unique_ptr<TOctreeNode>> pending;
    pending.push_back(std::move(root_));
    while (!pending.empty()) {
        std::unique_ptr<TOctreeNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->Children)
            if (child) pending.push_back(std::move(child));
    }
}

TOctreeNode* TColorQuantizer::CreateNode(int level) {
    auto* node = new TOctreeNode;
    if (level == ColorBits) {
        node->IsLeaf = true;
        ++leafCount_;
    } else {
        node->Next = reducible_[level];
        reducible_[level] = node;
    }
    return node;
}

void TColorQuantizer::AddColor(uint8_t red, uint8_t green, uint8_t blue) {
    TOctreeNode* node = root_.get();
    for (int level = 0; !node->IsLeaf; ++level) {
        const int shift = 7 - level;
        const int index = (((red >> shift) & 1) << 2) | (((green >> shift) & 1) << 1) | ((blue >> shift) & 1);
        std::unique_ptr<TOctreeNode>& child = node->Children[index];
        if (!child) child.reset(CreateNode(level + 1));
        node = child.get();
    }
    ++node->PixelCount;
    node->RedSum += red;
    node->GreenSum += green;
    node->BlueSum += blue;
    while (leafCount_ > maxColors_ && Reduce()) {
    }
}

bool TColorQuantizer::Reduce() {
    int level = ColorBits - 1;
    while (level > 0 && !reducible_[level]) --level;
    TOctreeNode* node = reducible_[level];
    if (!node) return false;
    reducible_[level] = node->Next;
    int children = 0;
    for (auto& child : node->Children) {
        if (!child) continue;
        node->PixelCount += child->PixelCount;
        node->RedSum += child->RedSum;
        node->GreenSum += child->GreenSum;
        node->BlueSum += child->BlueSum;
        child.reset();
        ++children;
    }
    node->IsLeaf = true;
    leafCount_ -= children - 1;
    return true;
}

std::vector<TGIFColor> TColorQuantizer::ColorTable(int entries) const {
    std::vector<TGIFColor> table;
    std::vector<const TOctreeNode*> stack = {root_.get()};
    while (!stack.empty() && static_cast<int>(table.size()) < entries) {
        const TOctreeNode* node = stack.back();
        stack.pop_back();
        if (node->IsLeaf) {
            TGIFColor color;
            if (node->PixelCount > 0)
                color = {static_cast<uint8_t>(node->RedSum / node->PixelCount),
                         static_cast<uint8_t>(node->GreenSum / node->PixelCount),
                         static_cast<uint8_t>(node->BlueSum / node->PixelCount)};
            table.push_back(color);
            continue;
        }
        for (int i = 7; i >= 0; --i)
            if (node->Children[i]) stack.push_back(node->Children[i].get());
    }
    table.resize(static_cast<size_t>(entries));
    return table;
}
