// Popup-menu windows dressed in the skin. Where the system gives a popup a non-client border
// (3 pixels on Windows), the frame is painted there; where it draws the border inside the
// client area itself (Wine), the frame is painted over that border after the system's own
// painting, so that both look the same.
#include "skin/SkinPopupMenu_win.h"

#include <algorithm>

#include "skin/SkinData_win.h"
#include "skin/SkinPaint_win.h"
#include "skin/SkinWindowDC_win.h"

namespace {

constexpr int kFrame = 3;
constexpr char kObjectProperty[] = "TervaneSkinPopup";
#ifndef MN_GETHMENU
constexpr UINT MN_GETHMENU = 0x01E1;
#endif

std::vector<TSkinPopupMenu*>& HookedPopups() {
    static std::vector<TSkinPopupMenu*> popups;
    return popups;
}

// The popup drawn last whose menu was not known yet (see ForItem).
TSkinPopupMenu*& PopupBeingDrawn() {
    static TSkinPopupMenu* popup = nullptr;
    return popup;
}

SIZE WindowSize(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

TSkinPopupMenu::TSkinPopupMenu(HWND window, TSkinData& skinData) : handle_(window), skinData_(skinData) {
    HookedPopups().push_back(this);
    Hook();
}

TSkinPopupMenu::~TSkinPopupMenu() {
    Unhook();
    auto& popups = HookedPopups();
    popups.erase(std::remove(popups.begin(), popups.end(), this), popups.end());
    if (PopupBeingDrawn() == this) PopupBeingDrawn() = nullptr;
}

const std::vector<TSkinPopupMenu*>& TSkinPopupMenu::Hooked() { return HookedPopups(); }

void TSkinPopupMenu::Hook() {
    if (!IsWindow(handle_)) return;
    SetPropA(handle_, kObjectProperty, this);
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PopupWindowProc)));
}

void TSkinPopupMenu::Unhook() {
    if (!previousProc_) return;
    if (IsWindow(handle_)) {
        // Only when nobody hooked the window after us: their procedure would be lost.
        if (GetWindowLongPtrA(handle_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&PopupWindowProc))
            SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
        RemovePropA(handle_, kObjectProperty);
    }
    previousProc_ = nullptr;
}

POINT TSkinPopupMenu::ClientOffset() const {
    RECT window{};
    GetWindowRect(handle_, &window);
    POINT client{0, 0};
    ClientToScreen(handle_, &client);
    return {client.x - window.left, client.y - window.top};
}

TSkinPopupMenu* TSkinPopupMenu::ForItem(HMENU menu, HDC dc) {
    auto& popups = HookedPopups();
    HWND drawnOn = dc ? WindowFromDC(dc) : nullptr;
    for (TSkinPopupMenu* popup : popups)
        if (drawnOn && popup->handle_ == drawnOn) return popup;
    // The innermost popup first: a submenu shown twice is the newer one.
    for (auto it = popups.rbegin(); it != popups.rend(); ++it)
        if (menu && (*it)->menu_ == menu) return *it;
    TSkinPopupMenu* pending = PopupBeingDrawn();
    if (pending && menu) {
        pending->menu_ = menu;
        PopupBeingDrawn() = nullptr;
    }
    return pending;
}

LRESULT CALLBACK TSkinPopupMenu::PopupWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* popup = static_cast<TSkinPopupMenu*>(GetPropA(window, kObjectProperty));
    if (!popup) return DefWindowProcA(window, msg, wParam, lParam);
    try {
        return popup->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        // Painting errors leave the menu as the system draws it.
        return popup->CallPrevious(msg, wParam, lParam);
    }
}

LRESULT TSkinPopupMenu::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!previousProc_) return DefWindowProcA(handle_, msg, wParam, lParam);
    return CallWindowProcA(previousProc_, handle_, msg, wParam, lParam);
}

bool TSkinPopupMenu::Dressed() const {
    return !skinData_.NotReady() && skinData_.MenuBackground && skinData_.MenuBackground->HasPicture();
}

LRESULT TSkinPopupMenu::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY: {
        WNDPROC previous = previousProc_;
        Unhook();
        return CallWindowProcA(previous, handle_, msg, wParam, lParam);
    }
    case WM_NCPAINT:
        if (!Dressed()) break;
        LearnMenu();
        // Without a non-client border the frame is painted after the system's WM_PAINT.
        if (ClientOffset().x < kFrame) break;
        if (RenderBackground()) {
            TWholeWindowDC dc(handle_);
            if (dc) PaintFrame(dc.Get());
        }
        return 0;
    case WM_PAINT:
        if (Dressed() && ClientOffset().x < kFrame) return OnPaint();
        break;
    case WM_PRINT:
        if (Dressed()) return OnPrint(reinterpret_cast<HDC>(wParam), lParam);
        break;
    default:
        break;
    }
    return CallPrevious(msg, wParam, lParam);
}

void TSkinPopupMenu::LearnMenu() {
    if (menu_) return;
    menu_ = reinterpret_cast<HMENU>(SendMessageA(handle_, MN_GETHMENU, 0, 0));
    if (!menu_) PopupBeingDrawn() = this;
}

bool TSkinPopupMenu::RenderBackground() {
    SIZE size = WindowSize(handle_);
    if (background_ && size.cx == backgroundSize_.cx && size.cy == backgroundSize_.cy) return true;
    TDataSkinObject& element = *skinData_.MenuBackground;
    TSkinElementStyle style = ElementStyle(element);
    style.frames = 1;
    background_ = DrawSkinElement(size, *element.Picture, style, 1);
    backgroundSize_ = size;
    return static_cast<bool>(background_);
}

// The top and bottom strips, and the left and right ones between them.
void TSkinPopupMenu::PaintFrame(HDC windowDC) {
    SIZE size = backgroundSize_;
    TMemoryDC source(windowDC);
    TSelection selected(source.Get(), background_.Get());
    int side = std::max<int>(0, size.cy - 2 * kFrame);
    BitBlt(windowDC, 0, 0, size.cx, kFrame, source.Get(), 0, 0, SRCCOPY);
    BitBlt(windowDC, 0, size.cy - kFrame, size.cx, kFrame, source.Get(), 0, size.cy - kFrame, SRCCOPY);
    BitBlt(windowDC, 0, kFrame, kFrame, side, source.Get(), 0, kFrame, SRCCOPY);
    BitBlt(windowDC, size.cx - kFrame, kFrame, kFrame, side, source.Get(), size.cx - kFrame, kFrame, SRCCOPY);
}

// A popup without a non-client border: the system paints its border and items, then the
// skin's frame covers the border.
LRESULT TSkinPopupMenu::OnPaint() {
    LearnMenu();
    LRESULT result = CallPrevious(WM_PAINT, 0, 0);
    if (RenderBackground()) {
        TWholeWindowDC dc(handle_);
        if (dc) PaintFrame(dc.Get());
    }
    return result;
}

LRESULT TSkinPopupMenu::OnPrint(HDC dc, LPARAM flags) {
    LearnMenu();
    if (!dc || !RenderBackground()) return CallPrevious(WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
    {
        TMemoryDC source(dc);
        TSelection selected(source.Get(), background_.Get());
        BitBlt(dc, 0, 0, backgroundSize_.cx, backgroundSize_.cy, source.Get(), 0, 0, SRCCOPY);
    }
    TSavedDCState state(dc);
    IntersectClipRect(dc, kFrame, kFrame, backgroundSize_.cx - kFrame, backgroundSize_.cy - kFrame);
    return CallPrevious(WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
}
