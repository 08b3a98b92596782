#include "toolkit/Form_win.h"

#include <shellapi.h>

#include <utility>

#include "base/Exceptions.h"
#include "toolkit/Application_win.h"
#include "toolkit/BusyState_win.h"
#include "toolkit/FileDrop_win.h"
#include "toolkit/Menus_win.h"
#include "toolkit/Screen_win.h"
#include "toolkit/SystemFileName_win.h"

namespace {

struct DisabledWindows {
    std::vector<HWND> windows;
    HWND keep;
};

BOOL CALLBACK DisableOtherWindow(HWND window, LPARAM data) {
    auto* disabled = reinterpret_cast<DisabledWindows*>(data);
    if (window == disabled->keep || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    EnableWindow(window, FALSE);
    disabled->windows.push_back(window);
    return TRUE;
}

char AsciiUpper(char character) {
    return character >= 'a' && character <= 'z' ? static_cast<char>(character - 'a' + 'A') : character;
}

// Whether a caption marks this character as its accelerator ("是(&Y)" for Y or y).
bool ContainsAccelerator(const std::string& caption, char character) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return AsciiUpper(caption[i + 1]) == AsciiUpper(character);
    }
    return false;
}

TControl* FindAccelerator(TWinControl* parent, char character) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* control = parent->Controls(i);
        if (!control->Visible() || !control->Enabled() || !control->IsWindowed()) continue;
        auto* windowed = static_cast<TWinControl*>(control);
        if (windowed->TabStop() && ContainsAccelerator(windowed->Text(), character)) return windowed;
        if (TControl* inner = FindAccelerator(windowed, character)) return inner;
    }
    return nullptr;
}

// The top left corner of a window of this outer size centred on the screen's work area.
POINT CentredCorner(int width, int height) {
    RECT area = Screen->WorkArea();
    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2;
    return {x < area.left ? area.left : x, y < area.top ? area.top : y};
}

}  // namespace

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    TControl::SetVisible(false);
    SetColor(clBtnFace);
    Font().SetColor(clWindowText);
    if (Application) {
        Application->RegisterForm(this);
        showWaitsForCreate_ = Application->TakeFormComing();
    }
}

TForm::~TForm() {
    ForgetClassIcon();
    if (Application) Application->FormDestroyed(this);
}

HICON TForm::ClassIcon() {
    return HandleAllocated() ? reinterpret_cast<HICON>(GetClassLongPtrW(Handle(), GCLP_HICON)) : nullptr;
}

// The class must not keep an icon this form is about to destroy.
void TForm::ForgetClassIcon() {
    if (!icon_ || ClassIcon() != icon_.Get()) return;
    SetClassLongPtrW(Handle(), GCLP_HICON, 0);
    SetClassLongPtrW(Handle(), GCLP_HICONSM, 0);
}

void TForm::DoCreate() {
    if (!OnCreate) return;
    try {
        OnCreate(this);
    } catch (...) {
        // Not shown half set up, but a later Show is not kept waiting for a creation that ended.
        showWaitsForCreate_ = false;
        throw;
    }
}

void TForm::CreationEnded() {
    if (!std::exchange(showWaitsForCreate_, false)) return;
    if (Visible()) SetVisible(true);
}

void TForm::BeforeDestruction() {
    destroyed_ = true;
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            HandleUncaughtException(this);
        }
    }
    // The window would take its menu with it; the menu component frees its own handle.
    if (HandleAllocated() && menu_) ::SetMenu(Handle(), nullptr);
    // Asked while the window still exists (the class is found through it); a form deleted
    // outright asks in its destructor.
    ForgetClassIcon();
    TWinControl::BeforeDestruction();
}

bool TForm::AdjustForMenu() const { return menu_ != nullptr; }

// Dropped files are taken while the form has a handler for them, no long work runs and no
// dialog of the program has the window disabled: a drop would run the page's open code in
// the middle of the dialog's caller (a save of all icons would go on with the new file's).
bool TForm::AcceptsDrops() const {
    if (!OnFileDrop || TBusyState::Running()) return false;
    return !HandleAllocated() || IsWindowEnabled(const_cast<TForm*>(this)->Handle());
}

void TForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    params.exStyle = WS_EX_CONTROLPARENT;
    if (AcceptsDrops()) params.exStyle |= WS_EX_ACCEPTFILES;  // as UpdateDropTarget
    switch (borderStyle_) {
    case bsNone:
        params.style |= WS_POPUP;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        params.style |= WS_CAPTION | WS_THICKFRAME;
        break;
    default:
        params.style |= WS_CAPTION;
        break;
    }
    bool tool = borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin;
    if (tool) params.exStyle |= WS_EX_TOOLWINDOW;
    if (borderStyle_ == bsDialog) params.exStyle |= WS_EX_DLGMODALFRAME;
    if (borderStyle_ != bsNone && (borderIcons_ & biSystemMenu)) {
        params.style |= WS_SYSMENU;
        if (!tool && borderStyle_ != bsDialog) {
            if (borderIcons_ & biMinimize) params.style |= WS_MINIMIZEBOX;
            if (borderIcons_ & biMaximize) params.style |= WS_MAXIMIZEBOX;
        }
    }
    if (!Enabled()) params.style |= WS_DISABLED;
    params.parentWindow = Application ? Application->Handle() : nullptr;
    // Made with its menu bar, the window is framed once instead of again when the bar arrives.
    if (menu_) params.menu = menu_->Handle();
    // The first form of a class lends the class its icon: a window made with a class icon is
    // made in half the time of one given an icon afterwards (under Wine).
    params.classIcon = icon_.Get();
    if (clientWidth_ > 0 || clientHeight_ > 0) {
        RECT frame{0, 0, clientWidth_, clientHeight_};
        AdjustWindowRectEx(&frame, params.style, AdjustForMenu(), params.exStyle);
        params.width = frame.right - frame.left;
        params.height = frame.bottom - frame.top;
    }
    if (position_ == poScreenCenter && !shownBefore_ && Screen) {
        POINT corner = CentredCorner(params.width, params.height);
        params.x = corner.x;
        params.y = corner.y;
    }
}

void TForm::HandleCreated() {
    HWND window = Handle();
    // A form whose class has another icon is given its own; the small icon is the same picture,
    // which the system makes from the big one when it needs it.
    if (icon_ && ClassIcon() != icon_.Get())
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Get()));
    UpdateDropTarget();
    ApplyClientSize(false);
    TWinControl::HandleCreated();
}

int TForm::ClientWidth() const { return HandleAllocated() ? ClientRect().right : clientWidth_; }

int TForm::ClientHeight() const { return HandleAllocated() ? ClientRect().bottom : clientHeight_; }

void TForm::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    if (HandleAllocated()) {
        ApplyClientSize();
    } else {
        RECT frame{0, 0, width, height};
        bool tool = borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin;
        AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, AdjustForMenu(), tool ? WS_EX_TOOLWINDOW : 0);
        TControl::SetBounds(Left(), Top(), frame.right - frame.left, frame.bottom - frame.top);
    }
}

void TForm::SetBounds(int left, int top, int width, int height) {
    if (width != Width() || height != Height()) clientWidth_ = clientHeight_ = 0;
    TWinControl::SetBounds(left, top, width, height);
}

// The frame's size depends on the menu bar's height, which is only known once the window
// has its menu, so the client size is measured and corrected rather than computed. A window
// just made with its menu has its frame laid out already; otherwise the system lays it out
// (with the menu bar) before it is measured.
void TForm::ApplyClientSize(bool layOutFrame) {
    if (!HandleAllocated() || (clientWidth_ <= 0 && clientHeight_ <= 0)) return;
    HWND window = Handle();
    if (layOutFrame)
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    int width = (outer.right - outer.left) - client.right + clientWidth_;
    int height = (outer.bottom - outer.top) - client.bottom + clientHeight_;
    // Usually the window was made at this size already (a menu bar of one line).
    if (width != outer.right - outer.left || height != outer.bottom - outer.top)
        SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::CentreOnScreen() {
    RECT outer;
    GetWindowRect(Handle(), &outer);
    int width = outer.right - outer.left, height = outer.bottom - outer.top;
    POINT corner = CentredCorner(width, height);
    // Usually the window was made there already.
    if (corner.x != outer.left || corner.y != outer.top) SetBounds(corner.x, corner.y, width, height);
}

void TForm::SetIcon(HICON icon) {
    ForgetClassIcon();
    icon_.Reset(icon);
    if (!HandleAllocated()) return;
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void TForm::SetMenu(TMainMenu* menu) {
    menu_ = menu;
    if (menu) menu->SetForm(this);
    if (!HandleAllocated()) return;
    ::SetMenu(Handle(), menu ? menu->Handle() : nullptr);
    ApplyClientSize();
}

void TForm::MenuChanged() {
    if (!HandleAllocated()) return;
    DrawMenuBar(Handle());
    Perform(CM_MENUCHANGED);
}

void TForm::SetVisible(bool visible) {
    TControl::SetVisible(visible);
    if (!visible) {
        if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
        return;
    }
    // What OnCreate sets up (fonts, handlers, the menu) is in place before the window shows.
    if (showWaitsForCreate_) return;
    HWND window = Handle();
    if (!shownBefore_ && position_ == poScreenCenter) CentreOnScreen();
    shownBefore_ = true;
    // Shown now, the window comes to the top by itself; one already up is brought there.
    bool wasShowing = IsWindowVisible(window) != FALSE;
    // Activated before it is mapped, the window is dressed by whatever watches activations
    // while nothing of it shows: on screen it is framed once, already dressed.
    if (!wasShowing) SetActiveWindow(window);
    ShowWindow(window, SW_SHOW);
    if (wasShowing) SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (OnShow) OnShow(this);
}

bool TForm::Showing() const { return HandleAllocated() && IsWindowVisible(const_cast<TForm*>(this)->Handle()); }

void TForm::Show() { SetVisible(true); }

void TForm::Hide() { SetVisible(false); }

void TForm::Close() {
    bool mainForm = Application && Application->MainForm() == this;
    TCloseAction action = mainForm && !modal_ ? caFree : caHide;
    if (modal_ && modalResult_ == mrNone) modalResult_ = closeResult_;
    if (OnClose) OnClose(this, action);
    if (action == caNone) {
        if (modal_) modalResult_ = mrNone;
        return;
    }
    if (modal_) return;  // the modal loop hides the form
    if (mainForm) {
        Application->Terminate();
    } else if (action == caMinimize) {
        if (Application) Application->Minimize();
    } else {
        Hide();
    }
}

TModalResult TForm::ShowModal() {
    if (Visible() || !Enabled() || modal_) throw EInvalidOperation(ErrorText::VisibleModal);
    if (!Application) throw EInvalidOperation(ErrorText::ModalWithoutApplication);
    Application->CancelHint();
    if (GetCapture()) ReleaseCapture();
    HWND previousActive = GetActiveWindow();
    DisabledWindows disabled{{}, Handle()};
    EnumThreadWindows(GetCurrentThreadId(), DisableOtherWindow, reinterpret_cast<LPARAM>(&disabled));
    modal_ = true;
    modalResult_ = mrNone;
    showWaitsForCreate_ = false;  // shown modally from its own OnCreate, it shows at once
    TModalResult result = mrNone;
    auto finish = [&] {
        modal_ = false;
        for (HWND window : disabled.windows)
            if (IsWindow(window)) EnableWindow(window, TRUE);
        Hide();
        if (previousActive && IsWindow(previousActive)) SetActiveWindow(previousActive);
    };
    try {
        Show();
        while (modalResult_ == mrNone && !Application->Terminated()) Application->HandleMessage();
        result = modalResult_;
    } catch (...) {
        finish();
        throw;
    }
    finish();
    if (Application->Terminated()) PostQuitMessage(0);  // let the outer loop end as well
    return result;
}

bool TForm::IsShortCut(uint16_t key, TShiftState shift) {
    if (menu_ && menu_->IsShortCut(key, shift)) return true;
    return PopupMenu() && PopupMenu()->IsShortCut(key, shift);
}

bool TForm::DialogKey(uint16_t key, TShiftState shift) {
    if (key != VK_TAB || (shift & (ssCtrl | ssAlt))) return false;
    HWND next = GetNextDlgTabItem(Handle(), GetFocus(), (shift & ssShift) != 0);
    if (next) ::SetFocus(next);
    return true;
}

bool TForm::DialogChar(char character) {
    // Whoever hooked the form (the skin engine's drawn menu bar) may claim the character.
    if (Perform(CM_DIALOGCHAR, static_cast<unsigned char>(character), 0)) return true;
    TControl* control = FindAccelerator(this, character);
    if (!control) return false;
    static_cast<TWinControl*>(control)->SetFocus();
    control->Click();
    return true;
}

void TForm::Activated(bool active) {
    HWND window = Handle();
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) focusedWindow_ = focus;
        return;
    }
    if (IsIconic(window)) return;
    HWND target = focusedWindow_;
    if (activeControl_ && activeControl_->HandleAllocated()) {
        target = activeControl_->Handle();
        activeControl_ = nullptr;
    }
    if (!target || !IsWindow(target) || !IsChild(window, target) || !IsWindowVisible(target) ||
        !IsWindowEnabled(target))
        target = GetNextDlgTabItem(window, nullptr, FALSE);
    ::SetFocus(target ? target : window);
}

// The style the shell's DragAcceptFiles sets, set here so that the shell's library is not
// loaded for it at start.
void TForm::UpdateDropTarget() {
    if (!HandleAllocated()) return;
    const bool accept = AcceptsDrops();
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    const LONG_PTR wanted = accept ? (style | WS_EX_ACCEPTFILES) : (style & ~static_cast<LONG_PTR>(WS_EX_ACCEPTFILES));
    if (wanted != style) SetWindowLongPtrW(Handle(), GWL_EXSTYLE, wanted);
}

// A drop that was on its way when long work began is refused as well.
void TForm::FileDropped(HDROP drop) {
    const std::wstring first = TakeFirstDroppedFile(drop);
    std::string name;
    if (first.empty() || !AcceptsDrops() || !TakeSystemFileName(first, name)) return;
    OnFileDrop(this, name);
}

void TForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case WM_ACTIVATE:
        Activated(LOWORD(message.WParam) != WA_INACTIVE);
        return;
    case WM_DROPFILES:
        FileDropped(reinterpret_cast<HDROP>(message.WParam));
        return;
    case WM_ENABLE:
        UpdateDropTarget();
        break;
    case WM_SYSCOMMAND:
        if ((message.WParam & 0xFFF0) == SC_MINIMIZE && Application && Application->MainForm() == this) {
            Application->Minimize();
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(message);
}
