#include "toolkit/Application_win.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>

#include "base/ErrorDisplayText.h"
#include "base/Exceptions.h"
#include "toolkit/Form_win.h"
#include "toolkit/HintWindow_win.h"
#include "toolkit/LateBoundLibraries_win.h"
#include "toolkit/Menus_win.h"
#include "toolkit/ScreenDevice_win.h"
#include "toolkit/Screen_win.h"
#include "toolkit/WideText_win.h"

namespace {

constexpr wchar_t kApplicationClass[] = L"TApplication";
constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;
constexpr UINT_PTR kMouseTrackTimer = 3;
constexpr UINT kMouseTrackInterval = 100;

void RegisterApplicationClass(WNDPROC proc) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kApplicationClass, &windowClass)) return;
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    // The taskbar's button shows the class's icon: given here, the window is made with it
    // rather than given it afterwards (the system then fetches the icons once, not twice).
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(windowClass.hInstance, L"MAINICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    windowClass.hIconSm = windowClass.hIcon;  // else made at registration, scaled (2.5 ms under Wine)
    windowClass.lpszClassName = kApplicationClass;
    RegisterClassExW(&windowClass);
}

// The hint of a control, or of the first parent that has one ("main|detail" shows "main").
std::string ShortHintOf(TControl* control) {
    for (TControl* source = control; source; source = source->Parent()) {
        if (source->Hint().empty()) continue;
        const std::string& hint = source->Hint();
        return hint.substr(0, hint.find('|'));
    }
    return {};
}

struct ThreadWindows {
    std::vector<HWND> windows;
    HWND except;
};

BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM data) {
    auto* collected = reinterpret_cast<ThreadWindows*>(data);
    if (window != collected->except && IsWindowVisible(window)) collected->windows.push_back(window);
    return TRUE;
}

}  // namespace

TApplication* Application = nullptr;

TApplication::TApplication() : TComponent(nullptr) {
    if (!Application) Application = this;
}

TApplication::~TApplication() {
    // Forms go first (last created first), while the application window still exists.
    DestroyComponents();
    if (handle_) DestroyWindow(handle_);
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
    if (handle_) return;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterApplicationClass(WindowProc);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    icon_.Reset(static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR)));
    // Loading a library holds back every resource this thread reads meanwhile (icons, cursors):
    // OLE loads while the window is made, which reads none.
    oleLoadAhead_ = std::make_unique<LateBound::TOleLoadAhead>();
    handle_ = CreateWindowExW(0, kApplicationClass, Wide(title_),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                              nullptr, nullptr, instance, nullptr);
    if (!handle_) throw EOutOfResources(ErrorText::ApplicationWindow);
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Only these two items make sense for a window that is never seen itself.
    HMENU systemMenu = GetSystemMenu(handle_, FALSE);
    DeleteMenu(systemMenu, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(systemMenu, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(systemMenu, SC_MOVE, MF_BYCOMMAND);
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    if (handle_) SetWindowTextOf(handle_, title);
}

void TApplication::FormCreated(TForm* form) {
    if (!mainForm_) mainForm_ = form;
    form->DoCreate();
    form->CreationEnded();
}

void TApplication::FormDestroyed(TForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (mainForm_ == form) mainForm_ = nullptr;
}

void TApplication::ControlDestroyed(TControl* control) {
    if (hintControl_ == control) {
        HideHint();
        hintControl_ = nullptr;
    }
    if (hintWindow_ == control) hintWindow_ = nullptr;
    if (mouseControl_ == control) mouseControl_ = nullptr;
}

void TApplication::Run() {
    bool mainUp = mainForm_ && mainForm_->Showing();
    if (mainUp) {
        // A main window already up is painted first, and the taskbar's window is shown (keeping
        // the main window's activation) once the loop has nothing else to do: the user waits for
        // the picture, not for the taskbar's button.
        UpdateWindow(mainForm_->Handle());
        if (handle_) idleWork_.insert(idleWork_.begin(), [this] { ShowWindow(handle_, SW_SHOWNOACTIVATE); });
    } else if (handle_) {
        ShowWindow(handle_, SW_SHOWNORMAL);
    }
    while (!terminated_) HandleMessage();
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::HandleMessage() {
    MSG message;
    if (!ProcessMessage(message)) {
        Idle();
        if (!terminated_) WaitMessage();
    }
}

void TApplication::ProcessMessages() {
    MSG message;
    while (ProcessMessage(message)) {
    }
}

bool TApplication::ProcessMessage(MSG& message) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    if (message.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    try {
        bool handled = false;
        if (OnMessage) OnMessage(message, handled);
        if (!handled) DispatchQueuedMessage(message);
    } catch (...) {
        HandleException(this);
    }
    return true;
}

void TApplication::DispatchQueuedMessage(MSG& message) {
    TrackHint(message);
    if (IsKeyMessage(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// Menu shortcuts come before the focused control sees the key (Ctrl+C in an edit box runs
// the menu command, it does not copy); then the form's own keys (Tab, Enter, Escape).
bool TApplication::IsKeyMessage(MSG& message) {
    bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    bool charMessage = message.message == WM_SYSCHAR;
    if (!keyDown && !charMessage) return false;
    TWinControl* control = nullptr;
    for (HWND window = message.hwnd; window && !control; window = GetParent(window))
        control = TWinControl::FromHandle(window);
    TForm* form = control ? control->ParentForm() : nullptr;
    if (!form || !form->Enabled()) return false;
    // Accelerators are ASCII letters; the window's characters are UTF-16.
    if (charMessage) return message.wParam < 0x80 && form->DialogChar(static_cast<char>(message.wParam));
    auto key = static_cast<uint16_t>(message.wParam);
    if (form->IsShortCut(key, KeyboardShiftState())) return true;
    return message.message == WM_KEYDOWN && form->DialogKey(key, KeyboardShiftState());
}

void TApplication::HandleException(TObject* sender) {
    std::string text;
    try {
        throw;
    } catch (const Exception& error) {
        text = error.Message();
    } catch (const std::exception& error) {
        text = error.what();
    } catch (...) {
        text = "Unknown error";
    }
    CancelHint();
    if (OnException)
        OnException(sender, text);
    else
        ShowException(text);
}

void TApplication::ShowException(const std::string& message) {
    MessageBox(ErrorDisplayText(message), title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    return MessageBox(WideFromAnsi(text), caption, flags);
}

int TApplication::MessageBox(const std::wstring& text, const std::string& caption, UINT flags) {
    HWND owner = GetActiveWindow();
    if (!owner && mainForm_ && mainForm_->HandleAllocated()) owner = mainForm_->Handle();
    return ::MessageBoxW(owner, text.c_str(), Wide(caption), flags);
}

void TApplication::Minimize() {
    if (!handle_ || IsIconic(handle_)) return;
    CancelHint();
    focusBeforeMinimize_ = GetFocus();
    if (mainForm_ && mainForm_->HandleAllocated() && IsWindowEnabled(mainForm_->Handle())) {
        RECT from, to;
        GetWindowRect(mainForm_->Handle(), &from);
        GetWindowRect(handle_, &to);
        DrawAnimatedRects(handle_, IDANI_CAPTION, &from, &to);
    }
    ThreadWindows visible{{}, handle_};
    EnumThreadWindows(GetCurrentThreadId(), CollectVisibleWindow, reinterpret_cast<LPARAM>(&visible));
    hiddenByMinimize_ = visible.windows;
    for (HWND window : hiddenByMinimize_) ShowWindow(window, SW_HIDE);
    ShowWindow(handle_, SW_MINIMIZE);
}

void TApplication::Restore() {
    if (!handle_ || !IsIconic(handle_)) return;
    ShowWindow(handle_, SW_RESTORE);
    // Shown back to front, so the window that was on top is on top again.
    for (auto it = hiddenByMinimize_.rbegin(); it != hiddenByMinimize_.rend(); ++it) {
        if (!IsWindow(*it)) continue;
        bool topmost = (GetWindowLongW(*it, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        SetWindowPos(*it, topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    }
    hiddenByMinimize_.clear();
    if (mainForm_ && mainForm_->HandleAllocated()) SetForegroundWindow(mainForm_->Handle());
    if (focusBeforeMinimize_ && IsWindow(focusBeforeMinimize_)) SetFocus(focusBeforeMinimize_);
}

bool TApplication::Active() const {
    DWORD process = 0;
    HWND foreground = GetForegroundWindow();
    if (foreground) GetWindowThreadProcessId(foreground, &process);
    return foreground && process == GetCurrentProcessId();
}

void TApplication::SetShowHint(bool show) {
    showHint_ = show;
    if (!show) CancelHint();
}

void TApplication::CancelHint() {
    HideHint();
    hintControl_ = nullptr;
}

void TApplication::HideHint() {
    if (handle_) {
        KillTimer(handle_, kHintShowTimer);
        KillTimer(handle_, kHintHideTimer);
    }
    if (hintWindow_) hintWindow_->ReleaseHint();
    hintShowing_ = false;
}

void TApplication::TrackHint(const MSG& message) {
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_MOUSEWHEEL:
        CancelHint();
        return;
    case WM_MOUSEMOVE:
        // Where the pointer was when it moved: asking the system again is a round trip to it.
        UpdateMouseControlAt(message.pt);
        break;
    default:
        return;
    }
    if (!showHint_ || !handle_) return;
    TControl* control = FindControlAtScreenPoint(message.pt);
    if (control == hintControl_) return;
    bool wasShowing = hintShowing_;
    HideHint();
    hintControl_ = control;
    if (control && control->ShowHint() && !ShortHintOf(control).empty())
        SetTimer(handle_, kHintShowTimer, static_cast<UINT>(wasShowing ? hintShortPause_ : hintPause_), nullptr);
}

void TApplication::ShowHintNow() {
    KillTimer(handle_, kHintShowTimer);
    if (!hintControl_ || !hintWindowClass_) return;
    POINT point;
    GetCursorPos(&point);
    if (FindControlAtScreenPoint(point) != hintControl_) return;
    std::string hint = ShortHintOf(hintControl_);
    if (hint.empty()) return;
    if (!hintWindow_ || hintWindowMadeBy_ != hintWindowClass_) {
        if (hintWindow_) hintWindow_->Free();
        hintWindow_ = hintWindowClass_(this);
        hintWindowMadeBy_ = hintWindowClass_;
    }
    RECT rect = hintWindow_->CalcHintRect(Screen->Width(), hint, nullptr);
    int cursorHeight = GetSystemMetrics(SM_CYCURSOR) * 2 / 3;
    OffsetRect(&rect, point.x, point.y + cursorHeight);
    rect.bottom += 4;
    RECT desktop{0, 0, Screen->Width(), Screen->Height()};
    if (rect.right > desktop.right) OffsetRect(&rect, desktop.right - rect.right, 0);
    if (rect.left < desktop.left) OffsetRect(&rect, desktop.left - rect.left, 0);
    if (rect.bottom > desktop.bottom) OffsetRect(&rect, 0, point.y - rect.top - (rect.bottom - rect.top));
    hintWindow_->ActivateHint(rect, hint);
    hintShowing_ = true;
    SetTimer(handle_, kHintHideTimer, static_cast<UINT>(hintHidePause_), nullptr);
}

void TApplication::Idle() {
    UpdateMouseControl();
    RunIdleWork();
}

void TApplication::RunIdleWork() {
    std::vector<std::function<void()>> work;
    work.swap(idleWork_);
    for (auto& item : work) {
        try {
            item();
        } catch (...) {
            HandleUncaughtException(this);
        }
    }
}

// Sends the mouse-leave and mouse-enter notifications when the pointer moves from one
// control to another, also when it leaves the program's windows without further messages.
void TApplication::UpdateMouseControl() {
    POINT point;
    GetCursorPos(&point);
    UpdateMouseControlAt(point);
}

void TApplication::UpdateMouseControlAt(POINT point) {
    TControl* control = FindControlAtScreenPoint(point);
    if (control == mouseControl_) return;
    TControl* previous = mouseControl_;
    mouseControl_ = control;
    if (previous) previous->Perform(CM_MOUSELEAVE);
    if (control && mouseControl_ == control) control->Perform(CM_MOUSEENTER);
    if (!handle_) return;
    if (mouseControl_)
        SetTimer(handle_, kMouseTrackTimer, kMouseTrackInterval, nullptr);
    else
        KillTimer(handle_, kMouseTrackTimer);
}

void TApplication::TimerFired(UINT_PTR id) {
    if (id == kHintShowTimer)
        ShowHintNow();
    else if (id == kHintHideTimer)
        HideHint();
    else if (id == kMouseTrackTimer)
        UpdateMouseControl();
}

LRESULT CALLBACK TApplication::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* application = reinterpret_cast<TApplication*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!application) return DefWindowProcW(window, msg, wParam, lParam);
    try {
        return application->HandleWindowMessage(msg, wParam, lParam);
    } catch (...) {
        application->HandleException(application);
        return 0;
    }
}

LRESULT TApplication::HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        TimerFired(wParam);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
            Minimize();
            return 0;
        case SC_RESTORE:
            Restore();
            return 0;
        case SC_CLOSE:
            if (mainForm_) mainForm_->Close();
            return 0;
        default:
            break;
        }
        break;
    case WM_CLOSE:
        if (mainForm_) mainForm_->Close();
        return 0;
    case WM_ACTIVATE:
        // The taskbar button activates this invisible window: pass the activation on.
        if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(handle_) && mainForm_ && mainForm_->HandleAllocated() &&
            IsWindowVisible(mainForm_->Handle()) && IsWindowEnabled(mainForm_->Handle()))
            SetActiveWindow(mainForm_->Handle());
        return 0;
    case WM_ACTIVATEAPP:
        if (!wParam) CancelHint();
        break;
    case WM_DISPLAYCHANGE:
        ScreenDisplayChanged(static_cast<int>(wParam));
        break;
    case WM_COMMAND:
        if (lParam == 0 && DispatchMenuCommand(LOWORD(wParam))) return 0;
        break;
    case WM_DRAWITEM:
        if (DispatchMenuDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_MEASUREITEM:
        if (DispatchMenuMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        break;
    default:
        break;
    }
    return DefWindowProcW(handle_, msg, wParam, lParam);
}

void HandleUncaughtException(TObject* sender) {
    if (Application) {
        Application->HandleException(sender);
        return;
    }
    // Without an application object (early start-up) the error still gets shown.
    try {
        throw;
    } catch (const std::exception& error) {
        MessageBoxW(nullptr, Wide(ErrorDisplayText(error.what())), L"", MB_OK | MB_ICONSTOP);
    } catch (...) {
    }
}

void ControlDestroyed(TControl* control) {
    if (Application) Application->ControlDestroyed(control);
}

TControl* FindControlAtScreenPoint(POINT point) {
    HWND window = WindowFromPoint(point);
    TWinControl* control = TWinControl::FromHandle(window);
    if (!control) return nullptr;
    POINT client = point;
    ScreenToClient(window, &client);
    TControl* graphic = control->GraphicControlAt(client);
    return graphic ? graphic : control;
}
