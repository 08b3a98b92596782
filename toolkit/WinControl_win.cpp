#include "toolkit/WinControl_win.h"

#include <algorithm>
#include <map>

#include "base/Exceptions.h"
#include "toolkit/Application_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/Menus_win.h"
#include "toolkit/Screen_win.h"
#include "toolkit/WideText_win.h"

namespace {

// The control whose window is being created: the first messages of a new window arrive
// before CreateWindowExW returns, so the window procedure takes the object from here.
TWinControl* g_creatingControl = nullptr;

// How many window trees are being made, one inside the other: only the outermost one tells
// its form of windows made after the form's own.
int g_handleTreeDepth = 0;

// Class name -> the window procedure of the class it is built on.
std::map<std::string, WNDPROC>& RegisteredClasses() {
    static std::map<std::string, WNDPROC> classes;
    return classes;
}

WNDPROC RegisterControlClass(const TCreateParams& params) {
    auto found = RegisteredClasses().find(params.className);
    if (found != RegisteredClasses().end()) return found->second;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    WNDPROC baseProc = DefWindowProcW;
    const Wide systemClass(params.systemClass);
    if (params.systemClass) {
        if (!GetClassInfoExW(nullptr, systemClass, &windowClass))
            throw EOutOfResources(Format(ErrorText::WindowClassMissing, params.systemClass));
        baseProc = windowClass.lpfnWndProc;
        windowClass.style &= ~CS_GLOBALCLASS;
    } else {
        windowClass.style = params.classStyle;
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.hIcon = params.classIcon;
        // Without a small icon of its own the system would make one, scaled, at registration
        // (some 2.5 ms under Wine); the big one is scaled where a small one is drawn.
        windowClass.hIconSm = params.classIcon;
    }
    windowClass.lpfnWndProc = ToolkitWindowProc;
    windowClass.hInstance = instance;
    const Wide className(params.className);
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass))
        throw EOutOfResources(Format(ErrorText::WindowClassRegistration, params.className.c_str()));
    RegisteredClasses()[params.className] = baseProc;
    return baseProc;
}

bool IsReflectedMessage(UINT msg) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        return true;
    default:
        return false;
    }
}

}  // namespace

LRESULT CALLBACK ToolkitWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = TWinControl::FromHandle(window);
    if (!control && g_creatingControl) {
        control = g_creatingControl;
        control->handle_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    if (!control) return DefWindowProcW(window, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    try {
        control->DeliverMessage(message);
    } catch (...) {
        HandleUncaughtException(control);
    }
    if (msg == WM_NCDESTROY) control->WindowDestroyed();
    return message.Result;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    if (handle_) DestroyWindow(handle_);
    for (TControl* control : controls_) control->parent_ = nullptr;
    controls_.clear();
}

void TWinControl::BeforeDestruction() {
    DestroyHandle();
    TControl::BeforeDestruction();
}

HWND TWinControl::Handle() {
    if (!handle_) CreateHandleTree();
    return handle_;
}

void TWinControl::CreateHandleTree() {
    ++g_handleTreeDepth;
    try {
        CreateWnd();
    } catch (...) {
        --g_handleTreeDepth;
        throw;
    }
    bool outermost = --g_handleTreeDepth == 0;
    if (!outermost || !handle_ || !Parent()) return;
    TForm* form = ParentForm();
    if (form && form != static_cast<TControl*>(this) && form->HandleAllocated())
        form->Perform(CM_CONTROLSCREATED, 0, reinterpret_cast<LPARAM>(this));
}

TWinControl* TWinControl::FromHandle(HWND window) {
    if (!window) return nullptr;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return nullptr;
    // Only windows of this module's classes carry an object pointer in their user data.
    if (GetWindowLongPtrW(window, GWLP_HINSTANCE) != reinterpret_cast<LONG_PTR>(GetModuleHandleW(nullptr)))
        return nullptr;
    WNDPROC proc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
    if (proc != ToolkitWindowProc) return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.className = ClassName();
    params.style = WS_CHILD | WS_CLIPSIBLINGS;
    if (Visible()) params.style |= WS_VISIBLE;
    if (!Enabled()) params.style |= WS_DISABLED;
    if (tabStop_) params.style |= WS_TABSTOP;
    if (Parent()) params.parentWindow = Parent()->Handle();
    params.x = Left();
    params.y = Top();
    params.width = Width();
    params.height = Height();
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    // Asking for the parent's window made it, and a new parent makes its children's windows.
    if (handle_) return;
    if ((params.style & WS_CHILD) && !params.parentWindow)
        throw EInvalidOperation(Format(ErrorText::NoParentWindow, Name().c_str()));
    defaultProc_ = RegisterControlClass(params);
    ownClass_ = params.systemClass == nullptr;
    TWinControl* outer = g_creatingControl;
    g_creatingControl = this;
    HWND window = CreateWindowExW(params.exStyle, Wide(params.className), Wide(TControl::Text()),
                                  params.style, params.x, params.y, params.width, params.height,
                                  params.parentWindow, params.menu, GetModuleHandleW(nullptr), nullptr);
    g_creatingControl = outer;
    if (!window) throw EOutOfResources(Format(ErrorText::WindowCreation, params.className.c_str()));
    handle_ = window;
    HandleCreated();
}

void TWinControl::HandleCreated() {
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    // Hidden children (the pages not shown) get their windows when they are first shown.
    for (TControl* control : std::vector<TControl*>(controls_))
        if (control->IsWindowed() && control->Visible()) static_cast<TWinControl*>(control)->Handle();
    AlignControls();
}

void TWinControl::DestroyHandle() {
    if (handle_) DestroyWindow(handle_);
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    DestroyHandle();
    CreateWnd();
}

void TWinControl::WindowDestroyed() {
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    handle_ = nullptr;
    graphicCapture_ = nullptr;
}

// The window moved or changed size (by the user, the system or the skin): keep the stored
// bounds in step, in the parent's client coordinates (the screen's for top-level windows).
void TWinControl::UpdateBoundsFromWindow() {
    RECT rect;
    GetWindowRect(handle_, &rect);
    HWND parent = (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD) ? GetParent(handle_) : nullptr;
    if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    TControl::SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (control->parentFont_) control->ParentFontChanged();
    ControlInserted(control);
    if (handle_ && control->IsWindowed() && control->Visible()) static_cast<TWinControl*>(control)->Handle();
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
    control->Invalidate();
    auto found = std::find(controls_.begin(), controls_.end(), control);
    if (found != controls_.end()) controls_.erase(found);
    if (graphicCapture_ == control) graphicCapture_ = nullptr;
    control->parent_ = nullptr;
    ControlRemoved(control);
}

TControl* TWinControl::GraphicControlAt(POINT point) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* control = *it;
        if (control->IsWindowed() || !control->Visible()) continue;
        RECT bounds = control->BoundsRect();
        if (PtInRect(&bounds, point)) return control;
    }
    return nullptr;
}

void TWinControl::SetTabStop(bool tabStop) {
    tabStop_ = tabStop;
    if (!handle_) return;
    LONG style = GetWindowLongW(handle_, GWL_STYLE);
    SetWindowLongW(handle_, GWL_STYLE, tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const { return handle_ && IsWindowVisible(handle_) && IsWindowEnabled(handle_); }

void TWinControl::SetBounds(int left, int top, int width, int height) {
    bool sized = width != Width() || height != Height();
    TControl::SetBounds(left, top, width, height);
    if (handle_) SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (sized) AlignControls();
}

RECT TWinControl::ClientRect() const {
    RECT rect{0, 0, Width(), Height()};
    if (handle_) GetClientRect(handle_, &rect);
    return rect;
}

void TWinControl::SetVisible(bool visible) {
    TControl::SetVisible(visible);
    if (handle_) {
        ShowWindow(handle_, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
    } else if (visible && Parent() && Parent()->HandleAllocated()) {
        Handle();  // made visible, as its style says
    }
}

bool TWinControl::Showing() const {
    if (handle_) return IsWindowVisible(handle_) != FALSE;
    return TControl::Showing();
}

void TWinControl::SetEnabled(bool enabled) {
    TControl::SetEnabled(enabled);
    if (handle_) EnableWindow(handle_, enabled);
}

std::string TWinControl::Text() const {
    if (!handle_) return TControl::Text();
    return WindowTextOf(handle_);
}

void TWinControl::SetText(const std::string& text) {
    // The window's text may have changed under the stored one (typing), so always apply it.
    text_ = text;
    if (handle_) SetWindowTextOf(handle_, text);
    TextChanged();
    Perform(CM_TEXTCHANGED);
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::ShowPendingPaint() {
    if (!handle_) return;
    RedrawWindow(handle_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // A look into the queue for a message nobody sends: finding nothing counts as a moment of
    // rest, in which the system brings the screen up to date.
    constexpr UINT kNeverSent = 0xBFFF;
    MSG message;
    PeekMessageW(&message, nullptr, kNeverSent, kNeverSent, PM_NOREMOVE);
}

void TWinControl::FontChanged() {
    if (handle_) {
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    }
    for (TControl* control : std::vector<TControl*>(controls_)) control->ParentFontChanged();
    TControl::FontChanged();
}

void TWinControl::ColorChanged() {
    for (TControl* control : std::vector<TControl*>(controls_)) control->ParentColorChanged();
    TControl::ColorChanged();
}

HBRUSH TWinControl::BackgroundBrush() {
    backgroundBrush_.SetColor(Color());
    return backgroundBrush_.Handle();
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (!handle_) return;
    WNDPROC proc = defaultProc_ ? defaultProc_ : DefWindowProcW;
    message.Result = CallWindowProcW(proc, handle_, message.Msg, message.WParam, message.LParam);
}

void TWinControl::WndProc(TMessage& message) {
    if (IsReflectedMessage(message.Msg) && ReflectToChild(message)) return;
    switch (message.Msg) {
    case WM_COMMAND:
        if (message.LParam == 0 && HIWORD(message.WParam) == 0 && DispatchMenuCommand(LOWORD(message.WParam)))
            return;
        break;
    case WM_DRAWITEM:
        if (DispatchMenuDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam))) {
            message.Result = TRUE;
            return;
        }
        break;
    case WM_MEASUREITEM:
        if (DispatchMenuMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam))) {
            message.Result = TRUE;
            return;
        }
        break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        SetTextColor(dc, ColorToRGB(Font().Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        message.Result = reinterpret_cast<LRESULT>(BackgroundBrush());
        return;
    }
    case WM_ERASEBKGND:
        if (ownClass_) {
            RECT client;
            GetClientRect(handle_, &client);
            FillRect(reinterpret_cast<HDC>(message.WParam), &client, BackgroundBrush());
            message.Result = 1;
            return;
        }
        break;
    case WM_PAINT:
        if (ownClass_) {
            PaintWindow(message);
            return;
        }
        break;
    case WM_SETCURSOR:
        if (HandleSetCursor(message)) return;
        break;
    case WM_CONTEXTMENU:
        if (HandleContextMenu(message)) return;
        break;
    case WM_SIZE:
        AlignControls();
        break;
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(message);
        UpdateBoundsFromWindow();
        return;
    default:
        if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST && ownClass_ &&
            HandleMouseForGraphicChild(message))
            return;
        break;
    }
    TControl::WndProc(message);
    if (message.Msg < CM_BASE) DefaultHandler(message);
}

bool TWinControl::ReflectToChild(TMessage& message) {
    HWND child = nullptr;
    switch (message.Msg) {
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom;
        break;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
        if (item->CtlType != ODT_MENU) child = item->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (item->CtlType != ODT_MENU && handle_) child = GetDlgItem(handle_, static_cast<int>(item->CtlID));
        break;
    }
    default:
        child = reinterpret_cast<HWND>(message.LParam);
        break;
    }
    TWinControl* control = FromHandle(child);
    if (!control || control == this) return false;
    message.Result = control->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
    return true;
}

bool TWinControl::HandleMouseForGraphicChild(TMessage& message) {
    POINT point{PointX(message.LParam), PointY(message.LParam)};
    if (message.Msg == WM_MOUSEWHEEL) return false;  // wheel positions are screen coordinates
    TControl* target = graphicCapture_ ? graphicCapture_ : GraphicControlAt(point);
    if (!target || !target->Enabled()) return false;
    bool press = message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK;
    if (press) {
        graphicCapture_ = target;
        SetCapture(handle_);
    }
    LPARAM local = MAKELPARAM(point.x - target->Left(), point.y - target->Top());
    // Released first: the click handler may open a modal window or destroy the control.
    if (message.Msg == WM_LBUTTONUP) {
        graphicCapture_ = nullptr;
        if (GetCapture() == handle_) ReleaseCapture();
    }
    message.Result = target->Perform(message.Msg, message.WParam, local);
    return true;
}

bool TWinControl::HandleSetCursor(TMessage& message) {
    TCursor cursor = Screen->Cursor();
    if (cursor == crDefault) {
        if (reinterpret_cast<HWND>(message.WParam) != handle_ || LOWORD(message.LParam) != HTCLIENT) return false;
        POINT point;
        GetCursorPos(&point);
        ::ScreenToClient(handle_, &point);
        TControl* graphic = GraphicControlAt(point);
        cursor = graphic && graphic->Cursor() != crDefault ? graphic->Cursor() : TControl::Cursor();
        if (cursor == crDefault) return false;
    }
    ::SetCursor(Screen->CursorHandle(cursor));
    message.Result = TRUE;
    return true;
}

bool TWinControl::HandleContextMenu(TMessage& message) {
    POINT screenPoint{PointX(message.LParam), PointY(message.LParam)};
    bool fromKeyboard = message.LParam == -1;
    if (fromKeyboard) screenPoint = ClientToScreen({Width() / 2, Height() / 2});
    POINT clientPoint = screenPoint;
    ::ScreenToClient(handle_, &clientPoint);
    TControl* graphic = fromKeyboard ? nullptr : GraphicControlAt(clientPoint);
    TPopupMenu* menu = graphic && graphic->PopupMenu() ? graphic->PopupMenu() : PopupMenu();
    if (!menu) return false;
    menu->SetPopupComponent(graphic ? graphic : this);
    menu->Popup(screenPoint.x, screenPoint.y);
    message.Result = 0;
    return true;
}

void TWinControl::PaintWindow(TMessage& message) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle_, &paint);
    try {
        {
            TSavedDCState state(dc);
            TCanvas canvas;
            canvas.SetHandle(dc);
            Paint(canvas);
            canvas.SetHandle(nullptr);
        }
        PaintGraphicControls(dc, paint.rcPaint);
    } catch (...) {
        EndPaint(handle_, &paint);
        throw;
    }
    EndPaint(handle_, &paint);
    message.Result = 0;
}

void TWinControl::PaintGraphicControls(HDC dc, const RECT& update) {
    for (TControl* control : std::vector<TControl*>(controls_)) {
        if (control->IsWindowed() || !control->Visible()) continue;
        RECT bounds = control->BoundsRect(), overlap;
        if (!IntersectRect(&overlap, &bounds, &update)) continue;
        TSavedDCState state(dc);
        IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
        SetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
        TCanvas canvas;
        canvas.SetHandle(dc);
        static_cast<TGraphicControl*>(control)->Paint(canvas);
        canvas.SetHandle(nullptr);
    }
}
