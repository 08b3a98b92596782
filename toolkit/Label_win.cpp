#include "toolkit/ScreenDevice_win.h"
#include "toolkit/Label_win.h"

#include "toolkit/Canvas_win.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/WideText_win.h"

namespace {

constexpr UINT kTextFormat = DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX;

}  // namespace

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 17); }

void TLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    AdjustSize();
}

void TLabel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Invalidate();
}

void TLabel::TextChanged() {
    AdjustSize();
    Invalidate();
}

void TLabel::FontChanged() {
    AdjustSize();
    TGraphicControl::FontChanged();
}

void TLabel::AdjustSize() {
    if (!autoSize_) return;
    std::string text = Text().empty() ? std::string(" ") : Text();
    HDC measuring = MeasuringDC();
    TSelection font(measuring, Font().Handle());
    RECT rect{0, 0, 0, 0};
    DrawTextOf(measuring, text, &rect, kTextFormat | DT_CALCRECT);
    SetBounds(Left(), Top(), rect.right, rect.bottom);
}

void TLabel::Paint(TCanvas& canvas) {
    RECT client = ClientRect();
    if (!transparent_) {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(client);
    }
    canvas.Font().Assign(Font());
    canvas.Brush().SetStyle(bsClear);
    std::string text = Text();
    // Selects the canvas's font and the clear background before the text is drawn.
    canvas.TextExtent(text);
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color() : clGrayText));
    DrawTextOf(dc, text, &client, kTextFormat);
}
