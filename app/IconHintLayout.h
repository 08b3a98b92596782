#pragma once
// The hint box's size follows the icon and the byte length of the text, not the font: a
// Chinese character (two bytes in code page 936) widens it by 10 pixels, a Latin letter by 5,
// and the box is two icons high so the icon fits under the text.
#include <cstddef>

struct THintBox {
    int left, top, right, bottom;
};

constexpr int kHintIconLeft = 5;
constexpr int kHintIconTop = 25;

inline THintBox IconHintBox(THintBox measured, int iconWidth, int iconHeight, size_t textBytes) {
    measured.right = iconWidth + 5 * static_cast<int>(textBytes);
    measured.bottom = 2 * iconHeight;
    return measured;
}
