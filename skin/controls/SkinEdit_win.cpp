// Edits: after the edit drew its 3D border, the outermost ring of it becomes a ButtonShadow
// line and the rings inside take the edit's own background, so the border is flat.
#include "skin/controls/SkinPainters_win.h"

#include <algorithm>
#include <memory>

#include "skin/stored/SkinData_win.h"
#include "toolkit/WinControl_win.h"

using namespace SkinPainting;

namespace {

bool HasBorder(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) != 0 ||
           (GetWindowLongW(window, GWL_STYLE) & WS_BORDER) != 0;
}

// The brush the edit fills its background with, as its parent answers for it.
HBRUSH EditBackground(HWND edit, HDC dc) {
    LONG style = GetWindowLongW(edit, GWL_STYLE);
    bool staticLook = (style & ES_READONLY) || (style & WS_DISABLED);
    HWND parent = GetParent(edit);
    HBRUSH brush = nullptr;
    if (parent) {
        TSavedDCState state(dc);
        brush = reinterpret_cast<HBRUSH>(SendMessageW(parent, staticLook ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                                      reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)));
    }
    if (!brush) brush = GetSysColorBrush(staticLook ? COLOR_BTNFACE : COLOR_WINDOW);
    return brush;
}

bool RedrawsBorder(UINT msg) {
    switch (msg) {
    case WM_NCPAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
    case EM_SETREADONLY:
    case WM_SIZE:
    case WM_STYLECHANGED:
        return true;
    default:
        return false;
    }
}

}  // namespace

void TSkinEdit::AttachControl(TWinControl& control, TSkinData& skinData, bool setColour) {
    TSkinControl::AttachControl(control, skinData, setColour);
    SkinSpinButton();
    Repaint();
}

void TSkinEdit::AttachHandle(HWND handle, TSkinData& skinData) {
    TSkinControl::AttachHandle(handle, skinData);
    SkinSpinButton();
    Repaint();
}

void TSkinEdit::SkinSpinButton() {
    for (HWND child = GetWindow(handle_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string name = LowerWindowClass(child);
        if (name != "msctls_updown32" && name != "tspinbutton") continue;
        hasSpinButton_ = true;
        DressSpinButton(window_, child, *skinData_);
    }
}

void TSkinEdit::AfterMessage(TMessage& message) {
    if (RedrawsBorder(message.Msg)) Repaint();
    if (message.Msg == WM_NCDESTROY) Release();
}

void TSkinEdit::Repaint() {
    if (!Attached() || !HasBorder(handle_) || skinData_->NotReady()) return;
    try {
        TWholeWindowDC dc(handle_);
        HDC windowDC = dc.Get();
        if (!windowDC) return;
        RECT window, client;
        GetWindowRect(handle_, &window);
        GetClientRect(handle_, &client);
        MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&client), 2);
        int border = std::min(client.left - window.left, client.top - window.top);
        RECT ring{0, 0, window.right - window.left, window.bottom - window.top};
        FrameColour(windowDC, ring, Rgb(skinData_->Colours.ButtonShadow));
        HBRUSH background = EditBackground(handle_, windowDC);
        int inner = std::min(border - 1, hasSpinButton_ ? 1 : 2);
        for (int i = 0; i < inner; ++i) {
            InflateRect(&ring, -1, -1);
            FrameRect(windowDC, &ring, background);
        }
    } catch (...) {
    }
}
