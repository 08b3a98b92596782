#include "base/BitBtnLayout.h"

namespace {

// Halves round toward zero, as integer division does.
int CentreOffset(int client, int size) { return (client - size + 1) / 2; }

struct AxisSpacing {
    int margin;
    int spacing;
};

AxisSpacing ResolveAlongAxis(int client, int glyph, int text, int margin, int spacing) {
    if (glyph == 0 || text == 0) spacing = 0;
    if (margin == -1 && spacing == -1) {
        int third = (client - glyph - text) / 3;
        return {third, third};
    }
    if (margin == -1) return {(client - glyph - spacing - text) / 2, spacing};
    if (spacing == -1) return {margin, (client - margin - glyph - text) / 2};
    return {margin, spacing};
}

}  // namespace

TBitBtnPlacement LayoutBitBtn(const TBitBtnContent& c, TButtonLayout layout, int margin, int spacing) {
    bool horizontal = layout == TButtonLayout::GlyphLeft || layout == TButtonLayout::GlyphRight;
    int client = horizontal ? c.clientWidth : c.clientHeight;
    int glyph = horizontal ? c.glyphWidth : c.glyphHeight;
    int text = horizontal ? c.textWidth : c.textHeight;
    AxisSpacing along = ResolveAlongAxis(client, glyph, text, margin, spacing);

    int glyphAlong, textAlong;
    if (layout == TButtonLayout::GlyphLeft || layout == TButtonLayout::GlyphTop) {
        glyphAlong = along.margin;
        textAlong = glyphAlong + glyph + along.spacing;
    } else {
        glyphAlong = client - along.margin - glyph;
        textAlong = glyphAlong - along.spacing - text;
    }

    TBitBtnPlacement placement;
    if (horizontal) {
        placement.glyphX = glyphAlong;
        placement.textX = textAlong;
        placement.glyphY = CentreOffset(c.clientHeight, c.glyphHeight);
        placement.textY = CentreOffset(c.clientHeight, c.textHeight);
    } else {
        placement.glyphY = glyphAlong;
        placement.textY = textAlong;
        placement.glyphX = CentreOffset(c.clientWidth, c.glyphWidth);
        placement.textX = CentreOffset(c.clientWidth, c.textWidth);
    }
    return placement;
}
