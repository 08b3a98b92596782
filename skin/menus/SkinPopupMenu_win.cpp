// Popup-menu windows dressed in the skin. Where the system gives a popup a non-client border
// (3 pixels on Windows), the frame is painted there; where it draws the border inside the
// client area itself (Wine), the frame is painted over that border after the system's own
// painting, so that both look the same.
#include "skin/menus/SkinPopupMenu_win.h"

#include <algorithm>

#include "skin/stored/SkinData_win.h"
#include "skin/draw/SkinPaint_win.h"
#include "skin/menus/SkinMenuScratch_win.h"
#include "skin/draw/SkinWindowDC_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/WindowObjects_win.h"

// The menu background rendered at one size, kept selected in a context of its own (declared
// after the bitmap, so that it lets go of it before the bitmap is freed).
struct TPreparedMenuBackground {
    HBITMAP picture = nullptr;
    SIZE size{};
    TBitmapHandle bitmap;
    std::unique_ptr<TMemoryDC> dc;
};

namespace {

constexpr int kFrame = 3;
constexpr size_t kPreparedBackgrounds = 4;  // a bar's menus and a submenu or two
constexpr wchar_t kObjectProperty[] = L"TervaneSkinPopup";

TWindowObjects<TSkinPopupMenu>& Popups() {
    static TWindowObjects<TSkinPopupMenu> popups(kObjectProperty);
    return popups;
}

std::vector<TSkinPopupMenu*>& HookedPopups() {
    static std::vector<TSkinPopupMenu*> popups;
    return popups;
}

// The popup drawn last whose menu was not known yet (see ForItem).
TSkinPopupMenu*& PopupBeingDrawn() {
    static TSkinPopupMenu* popup = nullptr;
    return popup;
}

// The backgrounds rendered lately, the latest first.
std::vector<std::shared_ptr<TPreparedMenuBackground>>& PreparedBackgrounds() {
    static std::vector<std::shared_ptr<TPreparedMenuBackground>> prepared;
    return prepared;
}

std::shared_ptr<TPreparedMenuBackground> PreparedBackground(TDataSkinObject& element, SIZE size) {
    auto& prepared = PreparedBackgrounds();
    HBITMAP picture = static_cast<HBITMAP>(GetCurrentObject(element.Picture->Canvas().Handle(), OBJ_BITMAP));
    for (auto it = prepared.begin(); it != prepared.end(); ++it) {
        if ((*it)->picture != picture || (*it)->size.cx != size.cx || (*it)->size.cy != size.cy) continue;
        std::rotate(prepared.begin(), it, it + 1);
        return prepared.front();
    }
    auto background = std::make_shared<TPreparedMenuBackground>();
    TSkinElementStyle style = ElementStyle(element);
    style.frames = 1;
    background->bitmap = DrawSkinElement(size, *element.Picture, style, 1);
    if (!background->bitmap) return nullptr;
    background->dc = std::make_unique<TMemoryDC>(nullptr, background->bitmap.Get());
    background->picture = picture;
    background->size = size;
    prepared.insert(prepared.begin(), background);
    if (prepared.size() > kPreparedBackgrounds) prepared.pop_back();
    return background;
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

TSkinPopupMenu* TSkinPopupMenu::Find(HWND window) {
    for (TSkinPopupMenu* popup : HookedPopups())
        if (popup->handle_ == window) return popup;
    return nullptr;
}

TSkinPopupMenu* TSkinPopupMenu::HookOwned(HWND window, TSkinData& skinData) {
    auto* popup = new TSkinPopupMenu(window, skinData);
    popup->owned_ = true;
    return popup;
}

bool TSkinPopupMenu::FreeOwned(HWND window) {
    TSkinPopupMenu* popup = Find(window);
    if (!popup || !popup->owned_) return false;
    delete popup;  // leaves the list on the way
    return true;
}

void TSkinPopupMenu::ForgetPreparedBackgrounds() { PreparedBackgrounds().clear(); }

HDC TSkinPopupMenu::BackgroundDC() const { return background_ ? background_->dc->Get() : nullptr; }

void TSkinPopupMenu::Hook() {
    if (!IsWindow(handle_)) return;
    Popups().Attach(handle_, this);
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PopupWindowProc)));
}

void TSkinPopupMenu::Unhook() {
    if (!previousProc_) return;
    if (IsWindow(handle_)) {
        // Only when nobody hooked the window after us: their procedure would be lost.
        if (GetWindowLongPtrW(handle_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&PopupWindowProc))
            SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    }
    Popups().Detach(handle_);
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
    TSkinPopupMenu* popup = Popups().Find(window);
    if (!popup) return DefWindowProcW(window, msg, wParam, lParam);
    try {
        return popup->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        // Painting errors leave the menu as the system draws it.
        return popup->CallPrevious(msg, wParam, lParam);
    }
}

LRESULT TSkinPopupMenu::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!previousProc_) return DefWindowProcW(handle_, msg, wParam, lParam);
    return CallWindowProcW(previousProc_, handle_, msg, wParam, lParam);
}

bool TSkinPopupMenu::Dressed() const {
    return !skinData_.NotReady() && skinData_.MenuBackground && skinData_.MenuBackground->HasPicture();
}

LRESULT TSkinPopupMenu::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY: {
        WNDPROC previous = previousProc_;
        Unhook();
        return CallWindowProcW(previous, handle_, msg, wParam, lParam);
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
    menu_ = reinterpret_cast<HMENU>(SendMessageW(handle_, kMenuOfPopupMessage, 0, 0));
    if (!menu_) PopupBeingDrawn() = this;
}

bool TSkinPopupMenu::RenderBackground() {
    SIZE size = WindowSize(handle_);
    if (background_ && size.cx == background_->size.cx && size.cy == background_->size.cy) return true;
    background_ = PreparedBackground(*skinData_.MenuBackground, size);
    return background_ != nullptr;
}

// The top and bottom strips, and the left and right ones between them.
void TSkinPopupMenu::PaintFrame(HDC windowDC) {
    SIZE size = background_->size;
    HDC source = background_->dc->Get();
    int side = std::max<int>(0, size.cy - 2 * kFrame);
    BitBlt(windowDC, 0, 0, size.cx, kFrame, source, 0, 0, SRCCOPY);
    BitBlt(windowDC, 0, size.cy - kFrame, size.cx, kFrame, source, 0, size.cy - kFrame, SRCCOPY);
    BitBlt(windowDC, 0, kFrame, kFrame, side, source, 0, kFrame, SRCCOPY);
    BitBlt(windowDC, size.cx - kFrame, kFrame, kFrame, side, source, size.cx - kFrame, kFrame, SRCCOPY);
}

// A popup without a non-client border: the system paints its border and items, then the
// skin's frame covers the border. The background is ready before the first item is drawn, and
// a popup whose client area is the whole window is put together off screen and shown at once.
LRESULT TSkinPopupMenu::OnPaint() {
    LearnMenu();
    bool ready = RenderBackground();
    POINT offset = ClientOffset();
    if (ready && offset.x == 0 && offset.y == 0) {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(handle_, &paint);
        if (dc) PaintOffScreen(dc);
        EndPaint(handle_, &paint);
        return 0;
    }
    LRESULT result = CallPrevious(WM_PAINT, 0, 0);
    if (ready) {
        TWholeWindowDC dc(handle_);
        if (dc) PaintFrame(dc.Get());
    }
    return result;
}

void TSkinPopupMenu::PaintOffScreen(HDC dc) {
    SIZE size = background_->size;
    TMenuScratch room(size);
    if (!room) {
        CallPrevious(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
        PaintFrame(dc);
        return;
    }
    CallPrevious(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(room.Get()), PRF_CLIENT | PRF_ERASEBKGND);
    PaintFrame(room.Get());
    BitBlt(dc, 0, 0, size.cx, size.cy, room.Get(), 0, 0, SRCCOPY);
}

LRESULT TSkinPopupMenu::OnPrint(HDC dc, LPARAM flags) {
    LearnMenu();
    if (!dc || !RenderBackground()) return CallPrevious(WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
    SIZE size = background_->size;
    BitBlt(dc, 0, 0, size.cx, size.cy, background_->dc->Get(), 0, 0, SRCCOPY);
    TSavedDCState state(dc);
    IntersectClipRect(dc, kFrame, kFrame, size.cx - kFrame, size.cy - kFrame);
    return CallPrevious(WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
}
