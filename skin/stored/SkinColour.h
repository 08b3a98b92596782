#pragma once
// Colour texts of skin settings files ("59 97 131", "59,97,131").
#include <cstdint>
#include <string>

// A colour value as the painters take it: red in the low byte, then green, then blue; values
// with the top bit set are references to a system colour (index in the low byte).
using TSkinColour = uint32_t;

constexpr TSkinColour SkinRGB(int red, int green, int blue) {
    return static_cast<TSkinColour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

// Reads a colour text. Digits build a number; every other character ends the number (storing
// it when there were digits) and moves on to the next component, even without digits. The
// last number is kept only when it is the blue one. Components not given are 0; each is
// taken modulo 256. An empty text gives fallback.
TSkinColour ParseSkinColour(const std::string& text, TSkinColour fallback);
