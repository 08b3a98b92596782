// Spin buttons: painted instead of the control as two flat buttons in the skin's 3D colours,
// the held one darker, each with its arrow.
#include "skin/controls/SkinPainters_win.h"

#include <commctrl.h>

#include <memory>

#include "skin/controls/SkinControlHost_win.h"
#include "skin/stored/SkinData_win.h"

using namespace SkinPainting;

namespace {

bool Horizontal(HWND spin) { return (GetWindowLongW(spin, GWL_STYLE) & UDS_HORZ) != 0; }

// The half of the control a client point falls in: 0 the first arrow, 1 the second.
int HalfAt(HWND spin, POINT point) {
    RECT client;
    GetClientRect(spin, &client);
    if (Horizontal(spin)) return point.x >= (client.right - client.left) / 2 ? 1 : 0;
    return point.y >= (client.bottom - client.top) / 2 ? 1 : 0;
}

}  // namespace

bool TSkinUpDown::BeforeMessage(TMessage& message) {
    if (skinData_->NotReady()) return true;
    if (PaintsInsteadOfControl(message)) return false;
    if ((message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) && IsWindowEnabled(handle_))
        pressedHalf_ = HalfAt(handle_, {PointX(message.LParam), PointY(message.LParam)});
    return true;
}

void TSkinUpDown::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Repaint();
        break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (pressedHalf_ >= 0) {
            pressedHalf_ = -1;
            Repaint();
        }
        break;
    case WM_PAINT:
        break;
    default:
        TSkinControl::AfterMessage(message);
    }
}

void TSkinUpDown::Paint(HDC dc, const RECT& rect) {
    RefreshState();
    const TSkinColours& colours = skinData_->Colours;
    bool horizontal = Horizontal(handle_);
    OffScreen(dc, rect, [&](HDC buffer, const RECT& local) {
        RECT halves[2] = {local, local};
        if (horizontal)
            halves[0].right = halves[1].left = local.right / 2;
        else
            halves[0].bottom = halves[1].top = local.bottom / 2;
        for (int half = 0; half < 2; ++half) {
            bool held = half == pressedHalf_;
            FillColour(buffer, halves[half], held ? Rgb(colours.ButtonShadow) : Rgb(colours.ButtonFace));
            FrameColour(buffer, halves[half], held ? Rgb(colours.ButtonDkShadow) : Rgb(colours.ButtonShadow));
            TArrow arrow = horizontal ? (half == 0 ? arLeft : arRight) : (half == 0 ? arUp : arDown);
            COLORREF ink = enabled_ ? Rgb(colours.ButtonDkShadow) : Rgb(colours.ButtonShadow);
            DrawArrow(buffer, halves[half], arrow, held ? Rgb(colours.ButtonHilight) : ink);
        }
    });
}

void DressSpinButton(TSkinControlHost& window, HWND spin, TSkinData& skinData) {
    if (FindControlPainter(window, spin)) return;
    auto painter = std::make_unique<TSkinUpDown>(window);
    painter->AttachHandle(spin, skinData);
    window.Controls().push_back(std::move(painter));
}
