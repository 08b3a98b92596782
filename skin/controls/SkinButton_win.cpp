// Push buttons: the button's own painting never runs; the painter draws the push-button
// picture's cell for the state and the caption over it, off screen, and clicks the button
// itself on a press and release over it (the button never sees the press). The space bar
// still clicks through the button's own key handling.
#include "skin/controls/SkinPainters_win.h"

#include <utility>

#include "skin/stored/SkinData_win.h"
#include "skin/draw/SkinElementLayout.h"
#include "skin/draw/SkinPaint_win.h"
#include "toolkit/WinControl_win.h"
#include "toolkit/WideText_win.h"

using namespace SkinPainting;

bool TSkinButton::HasPicture() const { return skinData_ && !skinData_->NotReady() && skinData_->Buttons.HasPicture(); }

int TSkinButton::Cell() const {
    if (!enabled_) return SkinCells::PushDisabled;
    if (pressed_) return SkinCells::PushPressed;
    if (focused_ || hot_) return SkinCells::PushHot;
    return SkinCells::PushNormal;
}

COLORREF TSkinButton::TextColour(int cell) const {
    const TDataSkinButton& buttons = skinData_->Buttons;
    switch (cell) {
    case SkinCells::PushDisabled:
        return GetSysColor(COLOR_BTNSHADOW);
    case SkinCells::PushPressed:
        return Rgb(buttons.PressedColour2);
    case SkinCells::PushHot:
        return Rgb(buttons.MouseOverColour2);
    default:
        return Rgb(buttons.NormalColour2);
    }
}

bool TSkinButton::BeforeMessage(TMessage& message) {
    // Without a push-button picture the button keeps its own look and behaviour.
    if (!HasPicture()) return true;
    if (PaintsInsteadOfControl(message)) return false;
    switch (message.Msg) {
    case CN_DRAWITEM: {
        // The button's state changed and it asks to be drawn: the skin draws it.
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
        Paint(item->hDC, item->rcItem);
        message.Result = TRUE;
        return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Press();
        message.Result = 0;
        return false;
    case WM_MOUSEMOVE:
        if (tracking_) TrackMouse(message.LParam);
        return true;
    case WM_LBUTTONUP: {
        // Decided before the button's own handling, which may release the capture.
        bool inside = ClientPointInside(message.LParam);
        clickOnRelease_ = tracking_ && inside;
        // The toolkit's mouse-leave came while the press was tracked, and was not heeded then.
        leftOnRelease_ = tracking_ && !inside;
        tracking_ = false;
        if (GetCapture() == handle_) ReleaseCapture();
        return true;
    }
    case WM_CAPTURECHANGED:
        if (tracking_) {
            tracking_ = false;
            pressed_ = false;
            Repaint();
        }
        return true;
    default:
        return true;
    }
}

void TSkinButton::Press() {
    HWND focus = GetFocus();
    focusBeforePress_ = focus != handle_ ? focus : nullptr;
    if (focus != handle_) SetFocus(handle_);
    pressed_ = true;
    tracking_ = true;
    SetCapture(handle_);
    Repaint();
}

// While the mouse is held, the button looks pressed only with the pointer over it.
void TSkinButton::TrackMouse(LPARAM lParam) {
    bool inside = ClientPointInside(lParam);
    if (inside == pressed_) return;
    pressed_ = inside;
    Repaint();
}

void TSkinButton::AfterMessage(TMessage& message) {
    if (!HasPicture()) {
        if (message.Msg == WM_NCDESTROY) Release();
        return;
    }
    if (FollowHover(message)) return;
    switch (message.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (message.WParam == VK_SPACE) {
            pressed_ = message.Msg == WM_KEYDOWN;
            Repaint();
        }
        break;
    case WM_LBUTTONUP:
        pressed_ = false;
        if (leftOnRelease_) {
            StopBeingHot();
            GiveFocusBack();
        } else {
            Repaint();
        }
        if (clickOnRelease_) PostClick();
        clickOnRelease_ = leftOnRelease_ = false;
        break;
    case CM_MOUSEENTER:
        if (enabled_) {
            hot_ = false;
            BecomeHot();
        }
        break;
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_UPDATEUISTATE:
        Repaint();
        break;
    default:
        break;
    }
    TSkinControl::AfterMessage(message);
}

// A press taken back (released away from the button) leaves the focus where it was: a focused
// button wears the hot cell, so one that kept the focus of a press that never clicked would look
// hovered long after the pointer went, until the focus moved on.
void TSkinButton::GiveFocusBack() {
    HWND previous = std::exchange(focusBeforePress_, nullptr);
    if (!previous || !IsWindow(previous) || GetFocus() != handle_) return;
    if (GetAncestor(previous, GA_ROOT) != GetAncestor(handle_, GA_ROOT)) return;
    if (IsWindowVisible(previous) && IsWindowEnabled(previous)) SetFocus(previous);
}

// A disabled button shows no hover; while a press is tracked the release decides.
bool TSkinButton::IgnoresLeave() const { return !enabled_ || tracking_; }

void TSkinButton::Paint(HDC dc, const RECT& rect) {
    if (!HasPicture()) return;
    RefreshState();
    int cell = Cell();
    TDataSkinButton& buttons = skinData_->Buttons;
    OffScreen(dc, rect, [&](HDC buffer, const RECT& local) {
        FillColour(buffer, local, Rgb(skinData_->Colours.ButtonFace));
        DrawSkinElementTransparent(buffer, local, *buttons.Picture, ElementStyle(buttons), cell, buttons.Trans == 1);
        TSelection font(buffer, ControlFont());
        SetBkMode(buffer, TRANSPARENT);
        DrawContent(buffer, local, TextColour(cell));
    });
}

void TSkinButton::DrawContent(HDC dc, const RECT& rect, COLORREF textColour) {
    if (text_.empty()) return;
    SetTextColor(dc, textColour);
    RECT textRect = rect;
    DrawTextOf(dc, text_, &textRect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}
