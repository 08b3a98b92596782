#pragma once
// Where a bitmap button puts its glyph and its caption, by its layout, margin and spacing.
// A margin of -1 centres the pair along the layout axis; a spacing of -1 spreads it.

enum class TButtonLayout { GlyphLeft, GlyphRight, GlyphTop, GlyphBottom };

struct TBitBtnPlacement {
    int glyphX = 0, glyphY = 0;  // top-left of the glyph cell
    int textX = 0, textY = 0;    // top-left of the caption's text block
};

struct TBitBtnContent {
    int clientWidth = 0, clientHeight = 0;
    int glyphWidth = 0, glyphHeight = 0;  // 0 without a glyph
    int textWidth = 0, textHeight = 0;    // 0 without a caption
};

TBitBtnPlacement LayoutBitBtn(const TBitBtnContent& content, TButtonLayout layout, int margin, int spacing);
