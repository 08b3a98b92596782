#include "skin/menus/SkinMenuLayout.h"

#include <algorithm>

namespace SkinMenuLayout {

namespace {
// In code page 936 a byte from 0x81 on starts a two-byte character.
bool LeadByte(char c) { return static_cast<unsigned char>(c) >= 0x81; }

// The bar's first item: this far in on a bar without background picture; else past the
// background's left margin and this gap, or at kNarrowBarLeft when the bar is narrower.
constexpr int kPlainBarLeft = 6;
constexpr int kBackgroundGap = 4;
constexpr int kNarrowBarLeft = 12;
// Drop-down items of the bar's menus: width beyond the text, a separator's height, height
// beyond the text, and the extra height older Windows versions give.
constexpr int kBarItemExtraWidth = 26;
constexpr int kSeparatorHeight = 8;
constexpr int kItemExtraHeight = 4;
constexpr int kWindows9xExtraHeight = 4;
// Width the skin adds to an item the toolkit measured (room for the glyph column).
constexpr int kToolkitItemExtraWidth = 28;
// An item's parts: the glyph and the caption keep kItemInset from the item's edges; the glyph
// square, the gap after it, and the room the shortcut leaves at the right end.
constexpr int kItemInset = 1;
constexpr int kGlyphSide = 16;
constexpr int kCaptionGap = 3;
constexpr int kShortcutRightMargin = 10;
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

std::wstring LimitCaption(const std::wstring& text) {
    size_t end = 0, bytes = 0;
    while (end < text.size()) {
        const bool pair = text[end] >= 0xD800 && text[end] <= 0xDBFF && end + 1 < text.size();
        const size_t width = text[end] < 0x80 ? 1 : pair ? 4 : 2;
        if (bytes + width > kMaxCaption) break;
        bytes += width;
        end += pair ? 2 : 1;
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
    if (!hasBackground) return kPlainBarLeft;
    int left = backgroundLeftWidth + kBackgroundGap;
    return barWidth < left ? kNarrowBarLeft : left;
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
    TItemSize size{textWidth + kBarItemExtraWidth, separator ? kSeparatorHeight : textHeight + kItemExtraHeight};
    if (windows9x) size.height += kWindows9xExtraHeight;
    return size;
}

TItemSize GrowToolkitMenuItem(TItemSize measured, bool separator, bool windows9x) {
    measured.width += kToolkitItemExtraWidth;
    if (windows9x && !separator) measured.height += kWindows9xExtraHeight;
    return measured;
}

TItemParts ItemParts(const TSkinRect& item) {
    TItemParts parts;
    int glyphLeft = item.left + kItemInset, glyphTop = item.top + kItemInset;
    parts.glyph = {glyphLeft, glyphTop, glyphLeft + kGlyphSide, glyphTop + kGlyphSide};
    int captionLeft = parts.glyph.right + kCaptionGap;
    parts.caption = {captionLeft, item.top, std::max(captionLeft, item.right - kItemInset), item.bottom};
    parts.shortcut = {parts.caption.left, item.top, std::max(parts.caption.left, item.right - kShortcutRightMargin),
                      item.bottom};
    return parts;
}

TSkinRect SeparatorSource(const TSkinRect& cell, int itemHeight) {
    if (itemHeight <= 0 || itemHeight >= cell.Height()) return cell;
    return {cell.left, cell.bottom - itemHeight, cell.right, cell.bottom};
}

}  // namespace SkinMenuLayout
