#include "toolkit/BitBtn_win.h"

#include <algorithm>

#include "toolkit/WideText_win.h"
#include "toolkit/ScreenDevice_win.h"

namespace {

constexpr UINT kCaptionFormat = DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP;

SIZE CaptionSize(HDC dc, const std::string& caption) {
    if (caption.empty()) return {0, 0};
    RECT rect{0, 0, 0, 0};
    DrawTextOf(dc, caption, &rect, kCaptionFormat | DT_CALCRECT);
    return {rect.right, rect.bottom};
}

}  // namespace

void DrawGlyphTransparent(HDC dc, int x, int y, HBITMAP glyph, int cellWidth, int cellHeight, int cell) {
    TMemoryDC source(dc);
    TSelection selected(source.Get(), glyph);
    COLORREF transparent = GetPixel(source.Get(), cell * cellWidth, cellHeight - 1);
    TransparentBlt(dc, x, y, cellWidth, cellHeight, source.Get(), cell * cellWidth, 0, cellWidth, cellHeight,
                   transparent);
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) { SetBounds(0, 0, 75, 25); }

void TBitBtn::SetGlyph(HBITMAP glyph) {
    glyph_.Reset(glyph);
    SIZE size = GlyphSize();
    // A strip of square cells says how many glyphs it holds.
    if (size.cy > 0 && size.cx > size.cy && size.cx % size.cy == 0) numGlyphs_ = std::min<int>(size.cx / size.cy, 4);
    Invalidate();
}

SIZE TBitBtn::GlyphSize() const {
    BITMAP info = {};
    if (!glyph_ || !GetObjectW(glyph_.Get(), sizeof info, &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

void TBitBtn::SetNumGlyphs(int count) {
    numGlyphs_ = std::max(count, 1);
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout layout) {
    layout_ = layout;
    Invalidate();
}

void TBitBtn::SetMargin(int margin) {
    margin_ = margin;
    Invalidate();
}

void TBitBtn::SetSpacing(int spacing) {
    spacing_ = spacing;
    Invalidate();
}

void TBitBtn::CreateParams(TCreateParams& params) {
    TButton::CreateParams(params);
    params.style = (params.style & ~(BS_DEFPUSHBUTTON | BS_PUSHBUTTON)) | BS_OWNERDRAW;
}

TBitBtnPlacement TBitBtn::Placement(HDC dc, int width, int height) {
    SIZE glyph = GlyphSize();
    TSelection font(dc, Font().Handle());
    SIZE text = CaptionSize(dc, Text());
    TBitBtnContent content;
    content.clientWidth = width;
    content.clientHeight = height;
    content.glyphWidth = glyph.cx / numGlyphs_;
    content.glyphHeight = glyph.cy;
    content.textWidth = text.cx;
    content.textHeight = text.cy;
    return LayoutBitBtn(content, layout_, margin_, spacing_);
}

void TBitBtn::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_DRAWITEM:
        DrawButton(*reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam));
        message.Result = TRUE;
        return;
    case WM_LBUTTONDBLCLK:
        // A quick second press is another click, not a double click.
        message.Msg = WM_LBUTTONDOWN;
        break;
    default:
        break;
    }
    TButton::WndProc(message);
}

void TBitBtn::DrawButton(const DRAWITEMSTRUCT& item) {
    RECT rect = item.rcItem;
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    // Composed off screen and copied at once, so pressing the button does not flicker.
    TMemoryDC buffer(item.hDC);
    TBitmapHandle bitmap(CreateCompatibleBitmapFor(item.hDC, width, height));
    TSelection selected(buffer.Get(), bitmap.Get());
    HDC dc = buffer.Get();
    RECT local{0, 0, width, height};
    bool pressed = (item.itemState & ODS_SELECTED) != 0;
    bool focused = (item.itemState & ODS_FOCUS) != 0;
    bool enabled = (item.itemState & ODS_DISABLED) == 0;

    TBrushHandle face(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc, &local, face.Get());
    RECT frame = local;
    if (focused || Default()) {
        FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&frame, -1, -1);
    }
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0));
    if (pressed) FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    DrawContent(dc, local, pressed, enabled);
    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = local;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
    BitBlt(item.hDC, rect.left, rect.top, width, height, dc, 0, 0, SRCCOPY);
}

void TBitBtn::DrawContent(HDC dc, const RECT& rect, bool pressed, bool enabled) {
    TBitBtnPlacement at = Placement(dc, rect.right - rect.left, rect.bottom - rect.top);
    int shift = pressed ? 1 : 0;
    SIZE glyph = GlyphSize();
    if (glyph_ && glyph.cx > 0) {
        // A second cell, when there is one, is the disabled look.
        int cell = !enabled && numGlyphs_ > 1 ? 1 : 0;
        DrawGlyphTransparent(dc, at.glyphX + shift, at.glyphY + shift, glyph_.Get(), glyph.cx / numGlyphs_, glyph.cy,
                             cell);
    }
    std::string caption = Text();
    if (caption.empty()) return;
    TSelection font(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    RECT textRect{at.textX + shift, at.textY + shift, rect.right, rect.bottom};
    if (!enabled) {
        // Embossed, as disabled captions are drawn.
        OffsetRect(&textRect, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextOf(dc, caption, &textRect, kCaptionFormat);
        OffsetRect(&textRect, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(dc, ColorToRGB(Font().Color()));
    }
    DrawTextOf(dc, caption, &textRect, kCaptionFormat);
}
