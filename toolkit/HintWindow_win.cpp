#include "toolkit/ScreenDevice_win.h"
#include "toolkit/HintWindow_win.h"

#include "toolkit/Canvas_win.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/Screen_win.h"
#include "toolkit/SystemColors_win.h"
#include "toolkit/WideText_win.h"

namespace {

constexpr UINT kHintTextFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;

}  // namespace

THintWindow::THintWindow(TComponent* owner) : TWinControl(owner) {
    TControl::SetVisible(false);
    SetColor(clInfoBk);
    Font().Assign(Screen->HintFont());
}

void THintWindow::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.style = WS_POPUP | WS_BORDER;
    params.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    params.classStyle = CS_SAVEBITS;
    params.parentWindow = nullptr;
}

RECT THintWindow::CalcHintRect(int maxWidth, const std::string& hint, void*) {
    RECT rect{0, 0, maxWidth, 0};
    HDC measuring = MeasuringDC();
    TSelection font(measuring, Font().Handle());
    DrawTextOf(measuring, hint, &rect, kHintTextFormat | DT_CALCRECT);
    rect.right += 6;
    rect.bottom += 2;
    return rect;
}

void THintWindow::ActivateHint(const RECT& rect, const std::string& hint) {
    SetText(hint);
    HWND window = Handle();
    SetWindowPos(window, HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    TControl::SetVisible(true);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

void THintWindow::ReleaseHint() {
    if (HandleAllocated() && IsWindowVisible(Handle())) ShowWindow(Handle(), SW_HIDE);
    TControl::SetVisible(false);
}

void THintWindow::Paint(TCanvas& canvas) {
    RECT rect = ClientRect();
    rect.left += 2;
    rect.top += 2;
    canvas.Font().Assign(Font());
    canvas.Brush().SetStyle(bsClear);
    std::string hint = Text();
    canvas.TextExtent(hint);  // selects the font
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Screen->HintFont().Color()));
    DrawTextOf(dc, hint, &rect, kHintTextFormat);
}

void THintWindow::WndProc(TMessage& message) {
    // A hint never takes the pointer's clicks or the activation away from the window below.
    if (message.Msg == WM_NCHITTEST) {
        message.Result = HTTRANSPARENT;
        return;
    }
    if (message.Msg == WM_MOUSEACTIVATE) {
        message.Result = MA_NOACTIVATE;
        return;
    }
    TWinControl::WndProc(message);
}
