#include "skin/menus/SkinMenuLayout.h"

#include <algorithm>

namespace SkinMenuLayout {

namespace {
// In code page 936 a byte from 0x81 on starts a two-byte character.
bool LeadByte(char c) { return static_cast<unsigned char>(c) >= 0x81; }
}  // namespace

std::string LimitCaption(const std::string& text) {
    size_t end = 0;
    while (end < text.size()) {
        size_t length = LeadByte(text[end]) && end + 1 < text.size() ? 2 : 1;
        if (end + length > kMaxCaption) break;
        end += length;
    }
    return text.substr(0, end);
}

char AcceleratorOf(const std::string& caption) {
    for (size_t i = 0; i < caption.size(); ++i) {
        if (LeadByte(caption[i])) {
            ++i;
            continue;
        }
        if (caption[i] != '&' || i + 1 >= caption.size()) continue;
        char next = caption[i + 1];
        if (next == '&') {
            ++i;
            continue;
        }
        if (LeadByte(next)) return 0;
        return next >= 'A' && next <= 'Z' ? static_cast<char>(next - 'A' + 'a') : next;
    }
    return 0;
}

bool SameAccelerator(char a, char b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a != 0 && lower(a) == lower(b);
}

int FirstItemLeft(bool hasBackground, int backgroundLeftWidth, int barWidth) {
    if (!hasBackground) return 6;
    int left = backgroundLeftWidth + 4;
    return barWidth < left ? 12 : left;
}

std::vector<TSkinRect> LayOutBar(const TSkinRect& bar, int left, const std::vector<int>& textWidths) {
    std::vector<TSkinRect> items;
    int x = bar.left + left;
    for (int width : textWidths) {
        int itemWidth = width > 0 ? width + kBarItemPadding : 0;
        items.push_back({x, bar.top, x + itemWidth, bar.bottom - 1});
        x += itemWidth;
    }
    return items;
}

int NextBarItem(int current, const std::vector<bool>& canOpen, int step) {
    int count = static_cast<int>(canOpen.size());
    if (count == 0) return current;
    for (int i = 1; i < count; ++i) {
        int candidate = ((current + step * i) % count + count) % count;
        if (canOpen[static_cast<size_t>(candidate)]) return candidate;
    }
    return current;
}

TItemSize MeasureBarMenuItem(int textWidth, int textHeight, bool separator, bool windows9x) {
    TItemSize size{textWidth + 26, separator ? 8 : textHeight + 4};
    if (windows9x) size.height += 4;
    return size;
}

TItemSize GrowToolkitMenuItem(TItemSize measured, bool separator, bool windows9x) {
    measured.width += 28;
    if (windows9x && !separator) measured.height += 4;
    return measured;
}

TItemParts ItemParts(const TSkinRect& item) {
    TItemParts parts;
    parts.glyph = {item.left + 1, item.top + 1, item.left + 17, item.top + 17};
    parts.caption = {parts.glyph.right + 3, item.top, std::max(parts.glyph.right + 3, item.right - 1), item.bottom};
    parts.shortcut = {parts.caption.left, item.top, std::max(parts.caption.left, item.right - 10), item.bottom};
    return parts;
}

TSkinRect SeparatorSource(const TSkinRect& cell, int itemHeight) {
    if (itemHeight <= 0 || itemHeight >= cell.Height()) return cell;
    return {cell.left, cell.bottom - itemHeight, cell.right, cell.bottom};
}

}  // namespace SkinMenuLayout
