#include "toolkit/GroupBox_win.h"

#include "toolkit/Canvas_win.h"
#include "toolkit/WideText_win.h"

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 105); }

void TGroupBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.style |= WS_CLIPCHILDREN;
    params.exStyle |= WS_EX_CONTROLPARENT;
}

void TGroupBox::Paint(TCanvas& canvas) {
    canvas.Font().Assign(Font());
    HDC dc = canvas.Handle();
    std::string caption = Text();
    SIZE text = canvas.TextExtent(caption.empty() ? std::string("0") : caption);
    RECT client = ClientRect();
    RECT frame{client.left, client.top + text.cy / 2, client.right, client.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (caption.empty()) return;
    // The caption sits on the frame's top line, on the box's own background.
    RECT textRect{8, 0, 8 + text.cx + 2, text.cy};
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(Color()));
    SetTextColor(dc, ColorToRGB(Font().Color()));
    DrawTextOf(dc, caption, &textRect,
              DT_SINGLELINE | DT_CENTER | DT_NOPREFIX);
}
