#pragma once
// The arithmetic of skinned menus, apart from any drawing: bar captions and their
// accelerators, where the bar's items go, how large owner-drawn menu items are, where an
// item's glyph, caption and shortcut sit, and how the arrow keys walk along the bar.
#include <string>
#include <vector>

#include "skin/draw/SkinGeometry.h"

namespace SkinMenuLayout {

// Bar captions are cut to this many bytes (never inside a two-byte character).
constexpr size_t kMaxCaption = 80;
std::string LimitCaption(const std::string& text);
// The same for a UTF-16 text as the system holds it, its characters counted as code page 936
// would take them (one byte for ASCII, two for the others); a surrogate pair stays whole.
std::wstring LimitCaption(const std::wstring& text);

// The character after a single '&' ("&&" is a literal ampersand), lower-cased for ASCII
// letters; 0 when the caption has none.
char AcceleratorOf(const std::string& caption);
bool SameAccelerator(char a, char b);

// Where the bar's first item starts: after the bar background's fixed left part, or at 6
// on a bar filled with the plain colour.
int FirstItemLeft(bool hasBackground, int backgroundLeftWidth, int barWidth);
constexpr int kBarItemPadding = 10;  // added to an item's text width

// The bar's items laid out one after the other from `left`, each its text width plus the
// padding wide and the bar less one pixel high; empty captions take no room.
std::vector<TSkinRect> LayOutBar(const TSkinRect& bar, int left, const std::vector<int>& textWidths);

// The next bar item in a direction (+1 right, -1 left) that may open, wrapping around;
// `current` itself when no other can.
int NextBarItem(int current, const std::vector<bool>& canOpen, int step);

// Owner-drawn menu item sizes. Items of the bar's own menus: text width + 26; height text
// height + 4, a separator 8; 4 more on the Windows 9x family. Items of the program's menus,
// already measured by their text, grow by 28 (and 4 in height on the 9x family).
struct TItemSize {
    int width = 0, height = 0;
};
TItemSize MeasureBarMenuItem(int textWidth, int textHeight, bool separator, bool windows9x);
TItemSize GrowToolkitMenuItem(TItemSize measured, bool separator, bool windows9x);

// Inside an item's rectangle: the 16 × 16 glyph box, the caption from 3 pixels after it to 1
// pixel before the right edge, and the shortcut ending 10 pixels before the right edge.
struct TItemParts {
    TSkinRect glyph, caption, shortcut;
};
TItemParts ItemParts(const TSkinRect& item);

// The rows of the menu-item picture's separator cell used for a separator item: the cell's
// bottom rows when the item is lower than the cell, else the whole cell.
TSkinRect SeparatorSource(const TSkinRect& cell, int itemHeight);

}  // namespace SkinMenuLayout
