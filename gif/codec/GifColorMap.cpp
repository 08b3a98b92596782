#include "gif/codec/GifColorMap.h"

#include <algorithm>

#include "base/Exceptions.h"

int TGIFColorMap::DepthForCount(int count) {
    if (count <= 0) return 0;
    int depth = 1;
    while ((1 << depth) < count) ++depth;
    return depth;
}

void TGIFColorMap::Grow() {
    int next = capacity_ < 16 ? 16 : capacity_ + 32;
    capacity_ = std::min(next, MaxColors);
    colors_.reserve(static_cast<size_t>(capacity_));
}

int TGIFColorMap::Add(TGIFColor color) {
    if (Count() >= MaxColors) throw GIFException(ErrorText::GifColorTableOverflow);
    if (Count() >= capacity_) Grow();
    colors_.push_back(color);
    return Count() - 1;
}

int TGIFColorMap::IndexOf(TGIFColor color) const {
    for (int i = 0; i < Count(); ++i)
        if (colors_[static_cast<size_t>(i)] == color) return i;
    return -1;
}

void TGIFColorMap::Clear() {
    colors_.clear();
    colors_.shrink_to_fit();
    capacity_ = 0;
    Sorted = false;
}

void TGIFColorMap::Assign(const TGIFColor* colors, int count) {
    Clear();
    count = std::clamp(count, 0, MaxColors);
    for (int i = 0; i < count; ++i) Add(colors[i]);
}

void TGIFColorMap::SaveToStream(TStream& stream) const {
    if (Empty()) return;
    const size_t entries = size_t{1} << BitsPerPixel();
    std::vector<uint8_t> bytes(entries * 3, 0);  // padding entries stay black
    for (size_t i = 0; i < colors_.size(); ++i) {
        bytes[i * 3] = colors_[i].Red;
        bytes[i * 3 + 1] = colors_[i].Green;
        bytes[i * 3 + 2] = colors_[i].Blue;
    }
    stream.WriteBuffer(bytes.data(), bytes.size());
}

bool TGIFColorMap::LoadFromStream(TStream& stream, int count) {
    Clear();
    count = std::clamp(count, 0, MaxColors);
    std::vector<uint8_t> bytes(static_cast<size_t>(count) * 3);
    size_t got = bytes.empty() ? 0 : stream.Read(bytes.data(), bytes.size());
    for (size_t i = 0; i + 3 <= got; i += 3) Add({bytes[i], bytes[i + 1], bytes[i + 2]});
    return got == bytes.size();
}
