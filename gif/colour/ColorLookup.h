#pragma once
// Mapping a colour to the index of a palette entry.
#include <cstdint>
#include <vector>

#include "gif/codec/GifColorMap.h"

class TColorLookup {
public:
    explicit TColorLookup(int colors) : Colors(colors) {}
    virtual ~TColorLookup() = default;
    // The index of the entry chosen for the colour; chosen receives that entry's colour.
    virtual int Lookup(uint8_t red, uint8_t green, uint8_t blue, TGIFColor& chosen) = 0;

    const int Colors;
};

// The 216-colour web palette: six levels a channel, pure arithmetic.
class TNetscapeColorLookup : public TColorLookup {
public:
    TNetscapeColorLookup() : TColorLookup(216) {}
    static int Level(uint8_t value) { return (value + 3) / 51; }
    static int IndexOf(uint8_t red, uint8_t green, uint8_t blue) {
        return 36 * Level(red) + 6 * Level(green) + Level(blue);
    }
    int Lookup(uint8_t red, uint8_t green, uint8_t blue, TGIFColor& chosen) override;
    static std::vector<TGIFColor> Palette();
};

class TGrayScaleLookup : public TColorLookup {
public:
    TGrayScaleLookup() : TColorLookup(256) {}
    int Lookup(uint8_t red, uint8_t green, uint8_t blue, TGIFColor& chosen) override;
};

class TMonochromeLookup : public TColorLookup {
public:
    TMonochromeLookup() : TColorLookup(2) {}
    int Lookup(uint8_t red, uint8_t green, uint8_t blue, TGIFColor& chosen) override;
};

// Any palette: nearest entry by the sum of channel differences, the first of equals, with the
// answer kept for every colour of the same 15-bit slot.
class TFastColorLookup : public TColorLookup {
public:
    explicit TFastColorLookup(const std::vector<TGIFColor>& palette);
    static int Slot(uint8_t red, uint8_t green, uint8_t blue) {
        return (red >> 3) + (green >> 3) * 32 + (blue >> 3) * 1024;
    }
    int Lookup(uint8_t red, uint8_t green, uint8_t blue, TGIFColor& chosen) override;

private:
    std::vector<TGIFColor> palette_;
    std::vector<int16_t> cache_;
};
