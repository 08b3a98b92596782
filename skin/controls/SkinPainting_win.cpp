// Small drawing helpers the control painters share.
#include <algorithm>
#include <cctype>

#include "skin/controls/SkinPainters_win.h"
#include "toolkit/WideText_win.h"

namespace SkinPainting {

COLORREF Rgb(TColor colour) { return ColorToRGB(colour); }

void FillColour(HDC dc, const RECT& rect, COLORREF colour) {
    TBrushHandle brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.Get());
}

void FrameColour(HDC dc, const RECT& rect, COLORREF colour) {
    TBrushHandle brush(CreateSolidBrush(colour));
    FrameRect(dc, &rect, brush.Get());
}

void DrawArrow(HDC dc, const RECT& rect, TArrow direction, COLORREF colour) {
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    bool vertical = direction == arUp || direction == arDown;
    // A triangle of `size` rows, each one pixel longer at both ends than the one before.
    int size = std::max(1, std::min(vertical ? width : height, (vertical ? height : width) * 2) / 4);
    int cx = rect.left + width / 2, cy = rect.top + height / 2;
    TBrushHandle brush(CreateSolidBrush(colour));
    for (int i = 0; i < size; ++i) {
        RECT line;
        switch (direction) {
        case arUp:
            line = {cx - i, cy - size / 2 + i, cx + i + 1, cy - size / 2 + i + 1};
            break;
        case arDown:
            line = {cx - i, cy + size / 2 - i, cx + i + 1, cy + size / 2 - i + 1};
            break;
        case arLeft:
            line = {cx - size / 2 + i, cy - i, cx - size / 2 + i + 1, cy + i + 1};
            break;
        default:
            line = {cx + size / 2 - i, cy - i, cx + size / 2 - i + 1, cy + i + 1};
            break;
        }
        FillRect(dc, &line, brush.Get());
    }
}

}  // namespace SkinPainting
