// Where a bitmap button puts its glyph and caption.
#include <gtest/gtest.h>

#include "base/BitBtnLayout.h"

namespace {

TBitBtnContent Content(int width, int height, int glyph, int textWidth, int textHeight) {
    TBitBtnContent content;
    content.clientWidth = width;
    content.clientHeight = height;
    content.glyphWidth = glyph;
    content.glyphHeight = glyph;
    content.textWidth = textWidth;
    content.textHeight = textHeight;
    return content;
}

}  // namespace

TEST(BitBtnLayoutTest, CentredPairWithGlyphLeft) {
    // "保存" in a 89 x 41 button: glyph 32, spacing 4, text 24 x 12.
    TBitBtnPlacement at = LayoutBitBtn(Content(89, 41, 32, 24, 12), TButtonLayout::GlyphLeft, -1, 4);
    EXPECT_EQ(at.glyphX, 14);  // (89 - 32 - 4 - 24) / 2
    EXPECT_EQ(at.textX, 14 + 32 + 4);
    EXPECT_EQ(at.glyphY, 5);   // (41 - 32 + 1) / 2
    EXPECT_EQ(at.textY, 15);   // (41 - 12 + 1) / 2
}

TEST(BitBtnLayoutTest, GlyphRightMirrorsTheMargin) {
    TBitBtnPlacement at = LayoutBitBtn(Content(100, 40, 20, 30, 10), TButtonLayout::GlyphRight, 5, 6);
    EXPECT_EQ(at.glyphX, 100 - 5 - 20);
    EXPECT_EQ(at.textX, 75 - 6 - 30);
}

TEST(BitBtnLayoutTest, VerticalLayoutsCentreAcross) {
    TBitBtnPlacement top = LayoutBitBtn(Content(60, 80, 16, 40, 12), TButtonLayout::GlyphTop, 4, 2);
    EXPECT_EQ(top.glyphY, 4);
    EXPECT_EQ(top.textY, 4 + 16 + 2);
    EXPECT_EQ(top.glyphX, 22);  // (60 - 16 + 1) / 2
    EXPECT_EQ(top.textX, 10);   // (60 - 40 + 1) / 2
    TBitBtnPlacement bottom = LayoutBitBtn(Content(60, 80, 16, 40, 12), TButtonLayout::GlyphBottom, 4, 2);
    EXPECT_EQ(bottom.glyphY, 80 - 4 - 16);
    EXPECT_EQ(bottom.textY, 60 - 2 - 12);
}

TEST(BitBtnLayoutTest, SpreadMarginAndSpacing) {
    // Both -1: a third of what glyph and caption leave.
    TBitBtnPlacement spread = LayoutBitBtn(Content(100, 30, 16, 24, 12), TButtonLayout::GlyphLeft, -1, -1);
    EXPECT_EQ(spread.glyphX, 20);
    EXPECT_EQ(spread.textX, 20 + 16 + 20);
    // Spacing -1 only: half of what margin, glyph and caption leave.
    TBitBtnPlacement spacing = LayoutBitBtn(Content(100, 30, 16, 24, 12), TButtonLayout::GlyphLeft, 10, -1);
    EXPECT_EQ(spacing.glyphX, 10);
    EXPECT_EQ(spacing.textX, 10 + 16 + 25);
}

TEST(BitBtnLayoutTest, SpacingOnlyBetweenGlyphAndCaption) {
    TBitBtnPlacement textOnly = LayoutBitBtn(Content(89, 41, 0, 29, 12), TButtonLayout::GlyphLeft, -1, 4);
    EXPECT_EQ(textOnly.textX, 30) << "no glyph: the caption alone is centred";
    TBitBtnPlacement glyphOnly = LayoutBitBtn(Content(89, 41, 32, 0, 0), TButtonLayout::GlyphLeft, -1, 4);
    EXPECT_EQ(glyphOnly.glyphX, 28);
}
