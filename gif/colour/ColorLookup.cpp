#include "gif/colour/ColorLookup.h"

#include <algorithm>
#include <cstdlib>

int TNetscapeColorLookup::Lookup(uint8_t red, uint8_t green, uint8_t blue, TGIFColor& chosen) {
    const int r = Level(red), g = Level(green), b = Level(blue);
    chosen = {static_cast<uint8_t>(51 * r), static_cast<uint8_t>(51 * g), static_cast<uint8_t>(51 * b)};
    return 36 * r + 6 * g + b;
}

std::vector<TGIFColor> TNetscapeColorLookup::Palette() {
    std::vector<TGIFColor> colors;
    colors.reserve(216);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                colors.push_back({static_cast<uint8_t>(51 * r), static_cast<uint8_t>(51 * g), static_cast<uint8_t>(51 * b)});
    return colors;
}

int TGrayScaleLookup::Lookup(uint8_t red, uint8_t green, uint8_t blue, TGIFColor& chosen) {
    const uint8_t y = static_cast<uint8_t>((77 * red + 150 * green + 29 * blue) >> 8);
    chosen = {y, y, y};
    return y;
}

int TMonochromeLookup::Lookup(uint8_t red, uint8_t green, uint8_t blue, TGIFColor& chosen) {
    if (77 * red + 150 * green + 29 * blue < 32513) {
        chosen = {0, 0, 0};
        return 0;
    }
    chosen = {255, 255, 255};
    return 1;
}

TFastColorLookup::TFastColorLookup(const std::vector<TGIFColor>& palette)
    : TColorLookup(static_cast<int>(std::min<size_t>(palette.size(), 256))),
      palette_(palette.begin(), palette.begin() + Colors),
      cache_(32768, -1) {
    for (int i = 0; i < Colors; ++i) {
        const TGIFColor& c = palette_[static_cast<size_t>(i)];
        int16_t& slot = cache_[static_cast<size_t>(Slot(c.Red, c.Green, c.Blue))];
        if (slot == -1) slot = static_cast<int16_t>(i);
    }
}

int TFastColorLookup::Lookup(uint8_t red, uint8_t green, uint8_t blue, TGIFColor& chosen) {
    if (Colors == 0) {
        chosen = {0, 0, 0};
        return 0;
    }
    int16_t& slot = cache_[static_cast<size_t>(Slot(red, green, blue))];
    if (slot == -1) {
        int best = 0, bestDistance = 196608;
        for (int i = 0; i < Colors; ++i) {
            const TGIFColor& c = palette_[static_cast<size_t>(i)];
            const int d = std::abs(c.Red - red) + std::abs(c.Green - green) + std::abs(c.Blue - blue);
            if (d < bestDistance) {
                best = i;
                bestDistance = d;
            }
        }
        slot = static_cast<int16_t>(best);
    }
    chosen = palette_[static_cast<size_t>(slot)];
    return slot;
}
