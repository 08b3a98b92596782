#include "skin/controls/SkinControl_win.h"

#include <map>

#include "skin/stored/SkinData_win.h"
#include "skin/controls/SkinControlHost_win.h"
#include "toolkit/WinControl_win.h"
#include "toolkit/WideText_win.h"

namespace {

// Windows whose procedure a painter replaced. An entry outlives its painter when someone
// subclassed the window after us (the procedure cannot be given back then): it keeps
// forwarding to the procedure we replaced until the window is destroyed.
struct THookedWindow {
    TSkinControl* painter;
    WNDPROC previous;
};
std::map<HWND, THookedWindow>& HookedWindows() {
    static std::map<HWND, THookedWindow> windows;
    return windows;
}

}  // namespace

TSkinControl::TSkinControl(TSkinControlHost& window) : TComponent(nullptr), window_(window) {}

TSkinControl::~TSkinControl() {
    *alive_ = false;
    if (Attached()) Release();
}

void TSkinControl::AttachControl(TWinControl& control, TSkinData& skinData, bool setColour) {
    if (Attached()) return;
    control_ = &control;
    skinData_ = &skinData;
    handle_ = control.Handle();
    hook_ = control.AddMessageHook([this](TMessage& message, const TWndMethod& next) { Deliver(message, next); });
    RefreshState();
    setColour_ = setColour;
    if (setColour_) {
        ownColour_ = control.Color();
        followedParentColour_ = control.ParentColor() && control.Parent();
        control.SetColor(skinData.Colours.ButtonFace);
    }
}

void TSkinControl::AttachHandle(HWND handle, TSkinData& skinData) {
    if (Attached() || !IsWindow(handle)) return;
    handle_ = handle;
    skinData_ = &skinData;
    auto& windows = HookedWindows();
    auto found = windows.find(handle);
    if (found != windows.end()) {
        // Still hooked by a painter that could not give the procedure back: take its place.
        found->second.painter = this;
        previousProc_ = found->second.previous;
    } else {
        previousProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle, GWLP_WNDPROC));
        windows[handle] = {this, previousProc_};
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookedWindowProc));
    }
    RefreshState();
}

void TSkinControl::Release() {
    if (window_.HotControl() == this) window_.SetHotControl(nullptr);
    if (hook_ != 0) {
        TWinControl* control = control_;
        control->RemoveMessageHook(hook_);
        hook_ = 0;
        if (setColour_ && !WindowDestroying() && !control->Destroying())
            control->SetColor(followedParentColour_ && control->Parent() ? control->Parent()->Color() : ownColour_);
    }
    if (previousProc_) {
        auto& windows = HookedWindows();
        auto found = windows.find(handle_);
        bool ours = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle_, GWLP_WNDPROC)) == &HookedWindowProc;
        if (found != windows.end()) {
            if (ours && IsWindow(handle_)) {
                SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
                windows.erase(found);
            } else {
                found->second.painter = nullptr;
            }
        }
        previousProc_ = nullptr;
    }
    control_ = nullptr;
    hot_ = pressed_ = false;
}

LRESULT CALLBACK TSkinControl::HookedWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto& windows = HookedWindows();
    auto found = windows.find(window);
    if (found == windows.end()) return DefWindowProcW(window, msg, wParam, lParam);
    THookedWindow hooked = found->second;
    if (msg == WM_NCDESTROY && !hooked.painter) windows.erase(found);
    TMessage message{msg, wParam, lParam, 0};
    if (!hooked.painter) return CallWindowProcW(hooked.previous, window, msg, wParam, lParam);
    hooked.painter->Deliver(message, [&](TMessage& passed) {
        passed.Result = CallWindowProcW(hooked.previous, window, passed.Msg, passed.WParam, passed.LParam);
    });
    return message.Result;
}

void TSkinControl::Deliver(TMessage& message, const TWndMethod& next) {
    std::shared_ptr<bool> alive = alive_;
    bool goOn = true;
    try {
        goOn = BeforeMessage(message);
    } catch (...) {
        goOn = true;  // painting errors never stop the control's own handling
    }
    if (!goOn) return;
    next(message);
    if (!*alive) return;
    try {
        AfterMessage(message);
    } catch (...) {
    }
}

bool TSkinControl::BeforeMessage(TMessage&) { return true; }

void TSkinControl::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
        RefreshState();
        InvalidateRect(handle_, nullptr, TRUE);
        UpdateWindow(handle_);
        break;
    case WM_SETTEXT:
        RefreshState();
        Repaint();
        break;
    case WM_PAINT:
        Repaint();
        break;
    case WM_NCDESTROY:
        Release();
        break;
    default:
        break;
    }
}

void TSkinControl::Repaint() {
    if (!Attached() || !IsWindowVisible(handle_)) return;
    try {
        TWindowDC dc(handle_);
        if (!dc) return;
        RECT client;
        GetClientRect(handle_, &client);
        GetWindowRect(handle_, &paintedRect_);
        Paint(dc.Get(), client);
    } catch (...) {
    }
}

void TSkinControl::Paint(HDC, const RECT&) {}

bool TSkinControl::PaintsInsteadOfControl(TMessage& message) {
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;
        return true;
    }
    if (message.Msg != WM_PAINT) return false;
    PaintInstead(message);
    return true;
}

void TSkinControl::PaintInstead(TMessage& message) {
    RECT client;
    GetClientRect(handle_, &client);
    message.Result = 0;
    if (message.WParam) {  // a device context to paint into, as WM_PRINTCLIENT gives one
        Paint(reinterpret_cast<HDC>(message.WParam), client);
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle_, &paint);
    try {
        Paint(dc, client);
    } catch (...) {
    }
    EndPaint(handle_, &paint);
}

void TSkinControl::SkinChanged() {
    if (setColour_ && control_) control_->SetColor(skinData_->Colours.ButtonFace);
}

void TSkinControl::SendMouseLeave() {
    if (!Attached()) return;
    if (control_)
        control_->Perform(CM_MOUSELEAVE);
    else
        SendMessageW(handle_, CM_MOUSELEAVE, 0, 0);
}

void TSkinControl::BecomeHot() {
    if (hot_) return;
    hot_ = true;
    TSkinControl* previous = window_.HotControl();
    if (previous && previous != this) previous->SendMouseLeave();
    window_.SetHotControl(this);
    Repaint();
}

void TSkinControl::StopBeingHot() {
    hot_ = false;
    pressed_ = false;
    if (window_.HotControl() == this) window_.SetHotControl(nullptr);
    Repaint();
}

bool TSkinControl::FollowHover(TMessage& message) {
    if (message.Msg == PointerMoveMessage()) {
        // Any move in the client area makes the control hot; the frame outside the painter's
        // parts shows no hover, so a move there does only when the part under the pointer changed.
        bool inFrame = message.Msg == WM_NCMOUSEMOVE;
        if (!inFrame && !hot_) BecomeHot();
        if (!HotPartMoved(message)) return true;
        if (!hot_) BecomeHot();
        Repaint();
        return true;
    }
    if (message.Msg != CM_MOUSELEAVE) return false;
    if (!IgnoresLeave()) {
        ForgetHotPart();
        StopBeingHot();
    }
    return true;
}

void TSkinControl::RefreshState() {
    if (!handle_) return;
    focused_ = GetFocus() == handle_;
    enabled_ = (GetWindowLongW(handle_, GWL_STYLE) & WS_DISABLED) == 0;
    std::wstring text = WideWindowTextOf(handle_);
    if (text.empty() && control_) text = WideFromAnsi(control_->Text());
    text_ = text;
}

HFONT TSkinControl::ControlFont() {
    if (control_) return control_->Font().Handle();
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(handle_, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void TSkinControl::PostClick() {
    HWND parent = GetParent(handle_);
    if (!parent) return;
    WPARAM wParam = control_ ? 0 : MAKEWPARAM(GetDlgCtrlID(handle_), BN_CLICKED);
    PostMessageW(parent, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(handle_));
}

bool TSkinControl::ClientPointInside(LPARAM lParam) const {
    RECT client;
    GetClientRect(handle_, &client);
    POINT point{PointX(lParam), PointY(lParam)};
    return PtInRect(&client, point) != FALSE;
}

bool TSkinControl::WindowDestroying() const { return window_.Destroying(); }

TSkinControl* FindControlPainter(TSkinControlHost& window, HWND handle) {
    if (!handle) return nullptr;
    for (auto& painter : window.Controls())
        if (painter->Attached() && painter->Handle() == handle) return painter.get();
    return nullptr;
}

void ReleaseSkinControls(TSkinControlHost& window) {
    for (auto& painter : window.Controls()) painter->Release();
    window.SetHotControl(nullptr);
    window.Controls().clear();
}

void RefreshSkinControls(TSkinControlHost& window) {
    for (auto& painter : window.Controls()) {
        if (!painter->Attached()) continue;
        painter->SkinChanged();
        InvalidateRect(painter->Handle(), nullptr, TRUE);
    }
}

void CheckHotControlLeft(TSkinControlHost& window, POINT cursor) {
    TSkinControl* hot = window.HotControl();
    if (!hot) return;
    RECT bounds{};
    if (hot->Attached()) GetWindowRect(hot->Handle(), &bounds);
    if (PtInRect(&bounds, cursor)) return;
    window.SetHotControl(nullptr);
    hot->SendMouseLeave();
}
