#pragma once
// A GIF colour table: up to 256 RGB triples. The storage grows to 16 entries, then in steps
// of 32, never beyond 256; adding a 257th colour is an error.
#include <cstdint>
#include <vector>

#include "base/Streams.h"

struct TGIFColor {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;

    friend bool operator==(const TGIFColor& a, const TGIFColor& b) {
        return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue;
    }
    friend bool operator!=(const TGIFColor& a, const TGIFColor& b) { return !(a == b); }
};

class TGIFColorMap {
public:
    static constexpr int MaxColors = 256;

    TGIFColorMap() = default;
    virtual ~TGIFColorMap() = default;
    TGIFColorMap(const TGIFColorMap&) = default;
    TGIFColorMap& operator=(const TGIFColorMap&) = default;

    int Count() const { return static_cast<int>(colors_.size()); }
    int Capacity() const { return capacity_; }
    bool Empty() const { return colors_.empty(); }
    bool Sorted = false;

    const TGIFColor& operator[](int index) const { return colors_[static_cast<size_t>(index)]; }
    void SetColor(int index, TGIFColor color) { colors_[static_cast<size_t>(index)] = color; }
    const TGIFColor* Data() const { return colors_.data(); }

    // Appends a colour and returns its index; throws "Color table overflow" past 256.
    int Add(TGIFColor color);
    // Index of the first entry of this colour, or -1.
    int IndexOf(TGIFColor color) const;
    void Clear();
    // Replaces the entries with the given ones (at most 256 are taken).
    void Assign(const TGIFColor* colors, int count);
    // Smallest n >= 1 with 2^n >= Count(); 0 for an empty map.
    int BitsPerPixel() const { return DepthForCount(Count()); }
    static int DepthForCount(int count);

    // The table as stored in a file: Count() triples, then black up to 2^depth entries.
    void SaveToStream(TStream& stream) const;
    // Reads count triples (as many as the stream holds); returns false when it ran short.
    bool LoadFromStream(TStream& stream, int count);

private:
    void Grow();

    std::vector<TGIFColor> colors_;
    int capacity_ = 0;
};

class TGIFGlobalColorMap : public TGIFColorMap {};
class TGIFLocalColorMap : public TGIFColorMap {};
