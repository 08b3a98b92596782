#pragma once
// Bitmap buttons: a push button that draws a glyph beside its caption. The glyph is a
// bitmap of one or more equal cells side by side (normal first); the colour of its
// bottom-left pixel is transparent.
#include "base/BitBtnLayout.h"
#include "toolkit/Button_win.h"
#include "toolkit/GdiGuards_win.h"

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);
    const char* ClassName() const override { return "TBitBtn"; }

    // Takes ownership of the bitmap; nullptr removes the glyph.
    void SetGlyph(HBITMAP glyph);
    HBITMAP Glyph() const { return glyph_.Get(); }
    SIZE GlyphSize() const;
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int count);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout);
    int Margin() const { return margin_; }
    void SetMargin(int margin);
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);

    // Where the glyph cell and the caption go in a button of the given size.
    TBitBtnPlacement Placement(HDC dc, int width, int height);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void TextChanged() override { Invalidate(); }

private:
    void DrawButton(const DRAWITEMSTRUCT& item);
    void DrawContent(HDC dc, const RECT& rect, bool pressed, bool enabled);

    TBitmapHandle glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = TButtonLayout::GlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
};

// Draws one cell of a glyph with the colour of its bottom-left pixel left out.
void DrawGlyphTransparent(HDC dc, int x, int y, HBITMAP glyph, int cellWidth, int cellHeight, int cell = 0);
