// The replacement window procedure of a skinned window: the frame is measured, hit-tested and
// painted here instead of by the system, and the form's own messages that change the frame
// (its caption, its menu, its accelerator characters) are watched through its message hook.
#include <algorithm>

#include "skin/frame/SkinCaptionLayout.h"
#include "skin/stored/SkinData_win.h"
#include "skin/frame/SkinForm_win.h"
#include "skin/frame/SkinFrameManager_win.h"
#include "toolkit/WindowObjects_win.h"
#include "skin/menus/SkinMenuBar_win.h"
#include "skin/draw/SkinWindowDC_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/WideText_win.h"

namespace {

// The skinned frame of a window and the procedure it replaced, kept with the window.
const wchar_t* const kFrameProperty = L"TervaneSkinFrame";
const wchar_t* const kPreviousProperty = L"TervaneSkinPrevious";
const wchar_t* const kMDIFrameProperty = L"TervaneSkinMDIFrame";
const wchar_t* const kMDIPreviousProperty = L"TervaneSkinMDIPrevious";

TWindowObjects<TSkinForm>& Frames() {
    static TWindowObjects<TSkinForm> frames(kFrameProperty);
    return frames;
}

bool IsNonClientMessage(UINT msg) {
    switch (msg) {
    case WM_NCCALCSIZE:
    case WM_NCHITTEST:
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCMBUTTONDBLCLK:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_SKIN_REPAINTFRAME:
        return true;
    default:
        return false;
    }
}

bool IsSystemMenuCommand(WPARAM wParam) {
    switch (wParam & 0xFFF0) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
        return true;
    default:
        return false;
    }
}

LRESULT HitCode(TFrameHit hit) {
    switch (hit) {
    case TFrameHit::Client: return HTCLIENT;
    case TFrameHit::Caption: return HTCAPTION;
    case TFrameHit::Menu: return HTMENU;
    case TFrameHit::Border: return HTBORDER;
    case TFrameHit::Left: return HTLEFT;
    case TFrameHit::Right: return HTRIGHT;
    case TFrameHit::Top: return HTTOP;
    case TFrameHit::Bottom: return HTBOTTOM;
    case TFrameHit::TopLeft: return HTTOPLEFT;
    case TFrameHit::TopRight: return HTTOPRIGHT;
    case TFrameHit::BottomLeft: return HTBOTTOMLEFT;
    case TFrameHit::BottomRight: return HTBOTTOMRIGHT;
    default: return HTNOWHERE;
    }
}

// Whether the active child of a multiple-document client window is maximised.
bool ActiveChildMaximized(HWND client) {
    BOOL maximized = FALSE;
    SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
    return maximized != FALSE;
}

}  // namespace

LRESULT CALLBACK TSkinForm::SkinWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TSkinForm* frame = Frames().Find(window);
    if (frame) {
        try {
            return frame->HandleMessage(msg, wParam, lParam);
        } catch (...) {
            // A frame that failed must not take the message from the window.
        }
    }
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kPreviousProperty));
    if (previous) return CallWindowProcW(previous, window, msg, wParam, lParam);
    return DefWindowProcW(window, msg, wParam, lParam);
}

LRESULT TSkinForm::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (previousProc_) return CallWindowProcW(previousProc_, handle_, msg, wParam, lParam);
    return DefWindowProcW(handle_, msg, wParam, lParam);
}

void TSkinForm::HookWindowProcedure() {
    // The previous procedure stays with the window as well: a procedure installed after this
    // one may still call this one after the frame is gone.
    previousProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle_, GWLP_WNDPROC));
    SetPropW(handle_, kPreviousProperty, reinterpret_cast<HANDLE>(previousProc_));
    Frames().Attach(handle_, this);
    SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSkinForm::SkinWindowProc));
    windowHooked_ = true;
}

void TSkinForm::UnhookWindowProcedure() {
    if (previousProc_) Frames().Detach(handle_);
    if (!previousProc_ || !IsWindow(handle_)) return;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle_, GWLP_WNDPROC)) == &TSkinForm::SkinWindowProc) {
        SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
        RemovePropW(handle_, kPreviousProperty);
    }
    previousProc_ = nullptr;
}

bool TSkinForm::TopLevelOrMDIChild() const { return !(style_ & WS_CHILD) || windowKind_ == wkMDIChild; }

bool TSkinForm::HandlesNonClient() const {
    if (skinState_ == ssAttached || IsMinimized()) return false;
    return !(windowKind_ == wkMDIChild && (IsMaximized() || IsMinimized()));
}

LRESULT TSkinForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY: {
        UnhookMDIClient();
        WNDPROC previous = previousProc_;
        UnhookWindowProcedure();
        regionSize_ = {};
        return previous ? CallWindowProcW(previous, handle_, msg, wParam, lParam)
                        : DefWindowProcW(handle_, msg, wParam, lParam);
    }
    case WM_STYLECHANGED:
        if (static_cast<int>(wParam) == GWL_STYLE) style_ = reinterpret_cast<STYLESTRUCT*>(lParam)->styleNew;
        return CallPrevious(msg, wParam, lParam);
    default:
        break;
    }
    if (!TopLevelOrMDIChild()) return CallPrevious(msg, wParam, lParam);
    if (!IsNonClientMessage(msg)) return WindowMessage(msg, wParam, lParam);
    return HandlesNonClient() ? NonClientMessage(msg, wParam, lParam) : CallPrevious(msg, wParam, lParam);
}

LRESULT TSkinForm::NonClientMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCCALCSIZE: return OnNCCalcSize(wParam, lParam);
    case WM_NCHITTEST: return OnNCHitTest(lParam);
    case WM_NCACTIVATE: return OnNCActivate(wParam, lParam);
    case WM_NCPAINT:
    case WM_SKIN_REPAINTFRAME: {
        TWholeWindowDC dc(handle_);
        if (dc) PaintFrame(dc.Get());
        return 0;
    }
    case WM_NCMOUSEMOVE:
        if (OnNCMouseMove(lParam)) return 0;
        break;
    case WM_NCLBUTTONDOWN:
        if (OnNCLButtonDown(wParam, lParam)) return 0;
        break;
    case WM_NCLBUTTONUP:
        if (OnNCLButtonUp(lParam)) return 0;
        break;
    case WM_NCLBUTTONDBLCLK:
        if (OnNCLButtonDblClk(wParam)) return 0;
        break;
    case WM_NCRBUTTONDOWN:
        if (OnNCRButtonDown(wParam, lParam)) return 0;
        break;
    case WM_NCRBUTTONUP:
        // The system menu was shown on the press; the release must not show it again.
        if (wParam == HTCAPTION && windowKind_ != wkMDIChild) return 0;
        break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM: return OnOwnerDraw(msg, wParam, lParam);
    default: break;
    }
    return CallPrevious(msg, wParam, lParam);
}

LRESULT TSkinForm::WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        if (wParam != kMouseLeaveTimer) break;
        MouseLeaveTimer();
        return 0;
    case WM_SKIN_FIRSTSHOW:
        FirstShow();
        return 0;
    case WM_SKIN_REFRESH:
        if (form_) RefreshAfterSkinChange();
        return 0;
    case WM_ACTIVATE:
        active_ = LOWORD(wParam) != WA_INACTIVE;
        break;
    case WM_SIZE: OnSize(wParam); break;
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(wParam, lParam);
    case WM_WINDOWPOSCHANGED: ReadWindowState(); break;
    case WM_SYSCOMMAND: return OnSysCommand(wParam, lParam);
    case WM_COMMAND:
        if (!IsSystemMenuCommand(wParam) || lParam != 0) break;
        PostMessageW(handle_, WM_SYSCOMMAND, wParam & 0xFFF0, 0);
        return 0;
    case WM_ERASEBKGND:
        if (!PlainWindowMode()) break;
        EraseClient(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return OnCtlColor(msg, wParam, lParam);
    case WM_SETTEXT:
    case WM_SETICON:
        // A form's caption is watched through its message hook.
        if (msg == WM_SETTEXT && !PlainWindowMode()) break;
        return OnTextOrIconSet(msg, wParam, lParam);
    default: break;
    }
    return CallPrevious(msg, wParam, lParam);
}

void TSkinForm::OnSize(WPARAM kind) {
    if (kind == SIZE_MINIMIZED) windowState_ = 2;
    if (kind == SIZE_MAXIMIZED) windowState_ = 1;
    if (kind == SIZE_RESTORED) windowState_ = 0;
    if (!IsMinimized() && !(windowKind_ == wkMDIChild && SkinFrameManager::ChildrenMaximized()) &&
        (skinState_ == ssSkinned || skinState_ == ssRefreshing))
        BuildRegion();
}

void TSkinForm::EraseClient(HDC dc) {
    RECT client;
    GetClientRect(handle_, &client);
    FillRect(dc, &client, skinData_->ButtonFaceBrush());
}

LRESULT TSkinForm::OnTextOrIconSet(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallPrevious(msg, wParam, lParam);
    if (msg == WM_SETTEXT) {
        TextChanged();
    } else {
        MakeIconBitmap();
        if (HandlesNonClient()) PostMessageW(handle_, WM_SKIN_REPAINTFRAME, 0, 0);
    }
    return result;
}

LRESULT TSkinForm::OnNCCalcSize(WPARAM wParam, LPARAM lParam) {
    if (windowKind_ == wkMDIChild && IsMaximized()) return CallPrevious(WM_NCCALCSIZE, wParam, lParam);
    RECT* window = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    RECT outer = *window;
    CallPrevious(WM_NCCALCSIZE, wParam, lParam);
    RECT client{outer.left + left_, outer.top + top_ + menuHeight_, outer.right - right_, outer.bottom - bottom_};
    client.right = std::max(client.left, client.right);
    client.bottom = std::max(client.top, client.bottom);
    *window = client;
    if (!wParam) return 0;
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    params->rgrc[1] = client;
    params->rgrc[2] = client;
    return WVR_VALIDRECTS;
}

LRESULT TSkinForm::OnNCHitTest(LPARAM lParam) {
    POINT point = WindowPoint(lParam);
    SIZE size = WindowSize();
    bool sizeable = (style_ & WS_THICKFRAME) && !IsMaximized();
    int grip = std::max(kMinSizingGrip, std::min({left_, right_, bottom_}));
    TFrameSizes frame{left_, top_, right_, bottom_, menuBar_ ? menuHeight_ : 0};
    return HitCode(FrameHitTest(point.x, point.y, size.cx, size.cy, frame, sizeable, grip));
}

LRESULT TSkinForm::OnNCActivate(WPARAM wParam, LPARAM) {
    active_ = wParam != 0;
    // -1: the system does not draw its own caption first.
    LRESULT result = CallPrevious(WM_NCACTIVATE, wParam, -1);
    if (!active_ && hotObject_) SetHotObject(nullptr);
    if (IsWindowVisible(handle_)) {
        TWholeWindowDC dc(handle_);
        if (dc) PaintFrame(dc.Get());
    }
    return result;
}

LRESULT TSkinForm::OnSysCommand(WPARAM wParam, LPARAM lParam) {
    UINT command = static_cast<UINT>(wParam & 0xFFF0);
    // The key's character comes as UTF-16: Alt+ц of a Russian layout is U+0446, whose low
    // byte is an "F". The bar's accelerators are ASCII letters; anything else is the system's.
    if (command == SC_KEYMENU && static_cast<WPARAM>(lParam) < 0x80) {
        char character = static_cast<char>(lParam);
        bool menuTracked = SkinFrameManager::MenuOpen() || (menuBar_ && menuBar_->MenuOpen());
        if (character != ' ' && character != '-' && !menuTracked && !GetCapture()) {
            if (character == 0 && menuBar_) menuBar_->OpenFirstItem();
            if (character == 0 || (menuBar_ && menuBar_->ItemForAccelerator(character))) return 0;
        }
    }
    if (command == SC_MINIMIZE || command == SC_MAXIMIZE || command == SC_RESTORE) {
        windowState_ = command == SC_MINIMIZE ? 2 : command == SC_MAXIMIZE ? 1 : 0;
        if (windowKind_ == wkMDIChild) {
            // A maximised child shows its buttons in the frame's menu bar.
            SkinFrameManager::SetChildrenMaximized(command == SC_MAXIMIZE);
            if (command == SC_MAXIMIZE) {
                PutSystemButtonsBack();
            } else {
                RemoveSystemButtons();
            }
        }
    }
    // The command may close the window: nothing of this object is touched after it.
    return CallPrevious(WM_SYSCOMMAND, wParam, lParam);
}

LRESULT TSkinForm::OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallPrevious(WM_GETMINMAXINFO, wParam, lParam);
    ReadWindowState();
    if (IsMinimized()) {
        PutSystemButtonsBack();
    } else if (!(windowKind_ == wkMDIChild && SkinFrameManager::ChildrenMaximized())) {
        RemoveSystemButtons();
    }
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
    return result;
}

LRESULT TSkinForm::OnCtlColor(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallPrevious(msg, wParam, lParam);
    auto dc = reinterpret_cast<HDC>(wParam);
    if (msg == WM_CTLCOLORBTN) {
        SetBkMode(dc, TRANSPARENT);
        return result;
    }
    if (!PlainWindowMode()) return result;
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(skinData_->ButtonFaceBrush());
}

LRESULT TSkinForm::OnOwnerDraw(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (menuBar_ && msg == WM_MEASUREITEM) {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_MENU && menuBar_->MeasureItem(*item)) return TRUE;
    }
    if (menuBar_ && msg == WM_DRAWITEM) {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_MENU && menuBar_->DrawItem(*item)) return TRUE;
    }
    return CallPrevious(msg, wParam, lParam);
}

// The caption text changed: the frame is measured and drawn again at once.
void TSkinForm::TextChanged() {
    if (!windowHooked_) return;
    caption_ = WideWindowTextOf(handle_);
    if (!HandlesNonClient()) return;
    Reframe();
    TWholeWindowDC dc(handle_);
    if (dc) PaintFrame(dc.Get());
}

void TSkinForm::MenuChanged() {
    if (!windowHooked_) return;
    if (!menuBar_) {
        CreateMenuBar();
    } else {
        menuBar_->Rebuild();
    }
    if (HandlesNonClient()) PostMessageW(handle_, WM_SKIN_REPAINTFRAME, 0, 0);
}

void TSkinForm::FormMessage(TMessage& message, const TWndMethod& next) {
    switch (message.Msg) {
    case WM_SETTEXT:
        next(message);
        TextChanged();
        return;
    case CM_MENUCHANGED:
        next(message);
        MenuChanged();
        return;
    case CM_CONTROLSCREATED:
        next(message);
        // Dressed before they first paint, which waits for the message loop.
        if (skinData_ && !skinData_->NotReady()) SkinFormControls(*this, *form_);
        return;
    case CM_DIALOGCHAR:
        if (OnDialogChar(static_cast<char>(message.WParam))) {
            message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    next(message);
}

void TSkinForm::HookMDIClient() {
    mdiClient_ = FindWindowExW(handle_, nullptr, L"MDIClient", nullptr);
    if (!mdiClient_) return;
    mdiClientPrevious_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(mdiClient_, GWLP_WNDPROC));
    SetPropW(mdiClient_, kMDIPreviousProperty, reinterpret_cast<HANDLE>(mdiClientPrevious_));
    SetPropW(mdiClient_, kMDIFrameProperty, this);
    SetWindowLongPtrW(mdiClient_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSkinForm::MDIClientProc));
}

void TSkinForm::UnhookMDIClient() {
    if (!mdiClient_) return;
    if (IsWindow(mdiClient_)) {
        RemovePropW(mdiClient_, kMDIFrameProperty);
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(mdiClient_, GWLP_WNDPROC)) == &TSkinForm::MDIClientProc) {
            SetWindowLongPtrW(mdiClient_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mdiClientPrevious_));
            RemovePropW(mdiClient_, kMDIPreviousProperty);
        }
    }
    mdiClient_ = nullptr;
    mdiClientPrevious_ = nullptr;
}

LRESULT CALLBACK TSkinForm::MDIClientProc(HWND client, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(client, kMDIPreviousProperty));
    auto* frame = static_cast<TSkinForm*>(GetPropW(client, kMDIFrameProperty));
    auto callPrevious = [&] {
        return previous ? CallWindowProcW(previous, client, msg, wParam, lParam)
                        : DefWindowProcW(client, msg, wParam, lParam);
    };
    if (!frame) return callPrevious();
    try {
        switch (msg) {
        case WM_NCCALCSIZE: {
            // The skinned frame has no room for the client window's own scroll bars.
            LONG_PTR style = GetWindowLongPtrW(client, GWL_STYLE);
            if (style & (WS_HSCROLL | WS_VSCROLL))
                SetWindowLongPtrW(client, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL));
            break;
        }
        case WM_MDIDESTROY: {
            SkinFrameManager::UnskinWindow(reinterpret_cast<HWND>(wParam));
            LRESULT result = callPrevious();
            SkinFrameManager::SetChildrenMaximized(ActiveChildMaximized(client));
            return result;
        }
        case WM_MDIREFRESHMENU: {
            LRESULT result = callPrevious();
            if (HWND newest = GetWindow(client, GW_CHILD)) SkinFrameManager::SkinWindow(newest);
            PostMessageW(frame->handle_, WM_SKIN_REPAINTFRAME, 0, 0);
            return result;
        }
        default:
            break;
        }
    } catch (...) {
    }
    return callPrevious();
}
