// Bitmap buttons: the push button's picture and states, with the glyph and the caption placed
// as the toolkit lays out bitmap buttons (by Layout, Margin and Spacing).
#include "skin/controls/SkinPainters_win.h"

#include "toolkit/BitBtn_win.h"
#include "toolkit/WideText_win.h"

void TSkinBitButton::DrawContent(HDC dc, const RECT& rect, COLORREF textColour) {
    auto* button = dynamic_cast<TBitBtn*>(control_);
    if (!button) {
        TSkinButton::DrawContent(dc, rect, textColour);
        return;
    }
    TBitBtnPlacement at = button->Placement(dc, rect.right - rect.left, rect.bottom - rect.top);
    SIZE glyph = button->GlyphSize();
    if (button->Glyph() && glyph.cx > 0 && glyph.cy > 0) {
        int cellWidth = glyph.cx / std::max(1, button->NumGlyphs());
        // The first cell in every state: the skin's cell shows the state.
        DrawGlyphTransparent(dc, rect.left + at.glyphX, rect.top + at.glyphY, button->Glyph(), cellWidth, glyph.cy, 0);
    }
    if (text_.empty()) return;
    SetTextColor(dc, textColour);
    RECT textRect{rect.left + at.textX, rect.top + at.textY, rect.right, rect.bottom};
    DrawTextOf(dc, text_, &textRect, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
}
