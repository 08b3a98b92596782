// The mouse over a skinned window's frame: caption buttons and menu-bar items light up, press
// and act like the system's, the caption shows the system menu, and a timer notices
// when the pointer has left them.
#include "skin/frame/SkinCaptionLayout.h"
#include "skin/controls/SkinControl_win.h"
#include "skin/stored/SkinData_win.h"
#include "skin/frame/SkinForm_win.h"
#include "skin/draw/SkinWindowPoints_win.h"
#include "skin/frame/SkinFrameManager_win.h"
#include "skin/menus/SkinMenuBar_win.h"

namespace {

POINT ScreenPoint(LPARAM lParam) { return {PointX(lParam), PointY(lParam)}; }

}  // namespace

POINT TSkinForm::WindowPoint(LPARAM screenPoint) const {
    return ScreenToWindowPoint(handle_, ScreenPoint(screenPoint));
}

TWinSysButton* TSkinForm::CaptionButtonAt(POINT windowPoint) const {
    for (const auto& button : captionButtons_) {
        if (button->Visible && button->Definition().Action >= 0 && button->Contains(windowPoint)) return button.get();
    }
    return nullptr;
}

TNCObject* TSkinForm::NCObjectAt(POINT windowPoint) const {
    if (TWinSysButton* button = CaptionButtonAt(windowPoint)) return button;
    return menuBar_ ? menuBar_->ItemAt(windowPoint) : nullptr;
}

void TSkinForm::SetHotObject(TNCObject* object) {
    if (hotObject_ && hotObject_ != object) {
        TNCObject* leaving = hotObject_;
        hotObject_ = nullptr;
        leaving->MouseLeave();
    }
    hotObject_ = object;
}

bool TSkinForm::OnNCMouseMove(LPARAM lParam) {
    if (!active_) return false;
    TNCObject* object = NCObjectAt(WindowPoint(lParam));
    if (!object) {
        SetHotObject(nullptr);
        return false;
    }
    if (object != hotObject_) {
        SetHotObject(object);
        object->MouseMove();
    }
    return true;
}

bool TSkinForm::OnNCLButtonDown(WPARAM wParam, LPARAM lParam) {
    POINT point = WindowPoint(lParam);
    if (TNCObject* object = NCObjectAt(point)) {
        if (!active_) SetForegroundWindow(handle_);
        if (CaptionButtonAt(point)) {
            SetHotObject(object);
            object->MouseDown();
        } else {
            OpenMenuItem(*object);
        }
        return true;
    }
    if (IsMaximized() && active_ && wParam == HTCAPTION) {
        // A maximised window stays where it is: the press goes on as one on the menu.
        CallPrevious(WM_NCLBUTTONDOWN, HTMENU, lParam);
        return true;
    }
    return false;
}

bool TSkinForm::OnNCLButtonUp(LPARAM lParam) {
    POINT point = WindowPoint(lParam);
    TWinSysButton* button = CaptionButtonAt(point);
    if (button && button == hotObject_) {
        bool pressed = button->State == TNCObject::Pressed;
        button->MouseUp();
        if (pressed) PerformAction(*button, ScreenPoint(lParam));
        return true;
    }
    return button != nullptr || (menuBar_ && menuBar_->ItemAt(point));
}

bool TSkinForm::OnNCLButtonDblClk(WPARAM wParam) {
    if (wParam != HTCAPTION) return false;
    if (IsMaximized() || IsMinimized()) {
        PostMessageW(handle_, WM_SYSCOMMAND, SC_RESTORE, 0);
    } else if (hadMaximize_) {
        PostMessageW(handle_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    }
    return true;
}

bool TSkinForm::OnNCRButtonDown(WPARAM wParam, LPARAM lParam) {
    if (wParam != HTCAPTION || windowKind_ == wkMDIChild) return false;
    ShowSystemMenu(ScreenPoint(lParam));
    return true;
}

bool TSkinForm::OnDialogChar(char character) {
    TMenuBtn* item = menuBar_ ? menuBar_->ItemForAccelerator(character) : nullptr;
    if (!item) return false;
    OpenMenuItem(*item);
    return true;
}

void TSkinForm::OpenMenuItem(TNCObject& item) {
    SetHotObject(&item);
    item.MouseDown();
    menuBar_->OpenBarItem(static_cast<TMenuBtn&>(item));
}

void TSkinForm::PerformAction(TWinSysButton& button, POINT screenPoint) {
    int action = button.Definition().Action;
    auto activeChild = [this] {
        return mdiClient_ ? reinterpret_cast<HWND>(SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, 0)) : nullptr;
    };
    switch (CaptionActionFor(action)) {
    case TCaptionAction::Close:
        StopTimer();
        PostMessageW(handle_, WM_CLOSE, 0, 0);
        break;
    case TCaptionAction::MaximizeOrRestore:
        PostMessageW(handle_, WM_SYSCOMMAND, IsMaximized() ? SC_RESTORE : SC_MAXIMIZE, 0);
        break;
    case TCaptionAction::MinimizeOrRestore:
        PostMessageW(handle_, WM_SYSCOMMAND, IsMinimized() ? SC_RESTORE : SC_MINIMIZE, 0);
        break;
    case TCaptionAction::SystemMenu: ShowSystemMenu(screenPoint); break;
    case TCaptionAction::MinimizeChild:
        if (HWND child = activeChild()) PostMessageW(child, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    case TCaptionAction::RestoreChild:
        if (HWND child = activeChild()) PostMessageW(mdiClient_, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
        break;
    case TCaptionAction::CloseChild:
        if (HWND child = activeChild()) PostMessageW(child, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case TCaptionAction::PostToWindow: PostMessageW(handle_, WM_SKIN_BUTTONACTION, static_cast<WPARAM>(action), 0); break;
    }
}

// The system menu, with the window's own buttons in its style while it shows, so that the
// system offers (or greys) minimising and maximising as the window allows.
void TSkinForm::ShowSystemMenu(POINT screenPoint) {
    HMENU menu = systemMenu_ ? systemMenu_ : GetSystemMenu(handle_, FALSE);
    if (!menu) return;
    SetHotObject(nullptr);
    SetForegroundWindow(handle_);
    PutSystemButtonsBack();
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, handle_,
                   nullptr);
    if (windowHooked_ && IsWindow(handle_) && !(windowKind_ == wkMDIChild && SkinFrameManager::ChildrenMaximized()))
        RemoveSystemButtons();
}

void TSkinForm::MouseLeaveTimer() {
    if (!active_ || SkinFrameManager::MenuOpen() || (menuBar_ && menuBar_->MenuOpen())) return;
    POINT cursor;
    if (!GetCursorPos(&cursor)) return;
    if (hotObject_) {
        if (!hotObject_->Contains(ScreenToWindowPoint(handle_, cursor))) SetHotObject(nullptr);
    }
    if (PlainWindowMode()) CheckHotControlLeft(*this, cursor);
}

void TSkinForm::StartTimer() {
    if (!timerRunning_) timerRunning_ = SetTimer(handle_, kMouseLeaveTimer, kMouseLeaveInterval, nullptr) != 0;
}

void TSkinForm::StopTimer() {
    if (timerRunning_ && IsWindow(handle_)) KillTimer(handle_, kMouseLeaveTimer);
    timerRunning_ = false;
}
