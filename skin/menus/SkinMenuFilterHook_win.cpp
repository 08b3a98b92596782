// Opening a bar item's menu and tracking it. While the menu is open a message filter hook
// makes the drawn bar behave like the system's: the first item is selected, the left and
// right arrows and the mouse move across the bar to the neighbouring menus.
#include <algorithm>
#include <vector>

#include "skin/draw/SkinWindowPoints_win.h"
#include "skin/menus/SkinMenuBarHost_win.h"
#include "skin/menus/SkinMenuBar_win.h"
#include "skin/menus/SkinMenuItems_win.h"
#include "skin/menus/SkinMenuLayout.h"
#include "skin/menus/SkinMenuManager_win.h"
#include "skin/menus/SkinPopupMenu_win.h"
#include "toolkit/WideText_win.h"

namespace {

bool FirstNTVersion() {
    DWORD version = GetVersion();
    return (version & 0x80000000u) == 0 && LOBYTE(LOWORD(version)) == 4;
}

BOOL CALLBACK AddShownMenu(HWND window, LPARAM menus) {
    if (ClassNameOf(window) != kPopupMenuClass || !IsWindowVisible(window)) return TRUE;
    if (auto menu = reinterpret_cast<HMENU>(SendMessageW(window, kMenuOfPopupMessage, 0, 0)))
        reinterpret_cast<std::vector<HMENU>*>(menus)->push_back(menu);
    return TRUE;
}

// The menus of this thread's popup-menu windows on the screen now.
std::vector<HMENU> ShownMenus() {
    std::vector<HMENU> menus;
    EnumThreadWindows(GetCurrentThreadId(), &AddShownMenu, reinterpret_cast<LPARAM>(&menus));
    return menus;
}

bool RightToLeftMenu(HMENU menu) {
    MENUITEMINFOW info;
    return GetMenuItemCount(menu) > 0 && QueryMenuItem(menu, 0, MIIM_FTYPE, info) && (info.fType & MFT_RIGHTORDER) != 0;
}

// The highlighted item of a menu: whether there is one and whether it opens a submenu.
bool HighlightedOpensSubmenu(HMENU menu) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
            return GetSubMenu(menu, i) != nullptr;
    }
    return false;
}

// One bar menu being tracked: the filter hook's state.
class TBarMenuTracking {
public:
    TBarMenuTracking(TSkinMenuBar& bar, int openIndex, HMENU submenu)
        : bar_(bar), openIndex_(openIndex), submenu_(submenu), rightToLeft_(RightToLeftMenu(submenu)) {
        GetCursorPos(&lastCursor_);
        current_ = this;
        hook_ = SetWindowsHookExW(WH_MSGFILTER, &FilterProc, nullptr, GetCurrentThreadId());
    }
    ~TBarMenuTracking() {
        if (hook_) UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    TBarMenuTracking(const TBarMenuTracking&) = delete;
    TBarMenuTracking& operator=(const TBarMenuTracking&) = delete;

    // The bar item to open next, or -1.
    int SwitchTarget() const { return switching_ ? switchTo_ : -1; }

private:
    static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam) {
        LRESULT result = CallNextHookEx(nullptr, code, wParam, lParam);
        if (code != MSGF_MENU || !current_ || !lParam) return result;
        try {
            return current_->Filter(*reinterpret_cast<MSG*>(lParam)) ? TRUE : result;
        } catch (...) {
            return result;
        }
    }

    bool Filter(MSG& msg) {
        if (rightToLeft_ && msg.message == WM_KEYDOWN && (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT))
            msg.wParam = msg.wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
        switch (msg.message) {
        case WM_KEYDOWN: return OnKeyDown(msg.wParam);
        case WM_SYSKEYDOWN:
            if (msg.wParam == VK_MENU) bar_.MenuClosedByAlt();
            return false;
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE: return OnMouseMove(msg.pt);
        case WM_LBUTTONDOWN:
        case WM_NCLBUTTONDOWN: return OnPress(msg.pt);
        default: return false;
        }
    }

    bool OnKeyDown(WPARAM key) {
        switch (key) {
        case VK_LEFT:
            // Only from the bar's menu itself; in a submenu the arrow closes the submenu.
            return InnermostMenu() == submenu_ && StartSwitch(Neighbour(-1));
        case VK_RIGHT: return !HighlightedOpensSubmenu(InnermostMenu()) && StartSwitch(Neighbour(+1));
        case VK_RETURN:
        case VK_ESCAPE: switching_ = false; return false;
        default: return false;
        }
    }

    bool OnMouseMove(POINT screen) {
        if (screen.x == lastCursor_.x && screen.y == lastCursor_.y) return false;
        lastCursor_ = screen;
        TMenuBtn* item = ItemUnder(screen);
        if (item && item->Index != openIndex_ && item->ItemEnabled) StartSwitch(item->Index);
        return false;
    }

    // A press on the open item's own place closes its menu (and does not open it again).
    bool OnPress(POINT screen) {
        TMenuBtn* item = ItemUnder(screen);
        if (!item || item->Index != openIndex_) return false;
        switching_ = false;
        EndMenu();
        return true;
    }

    TMenuBtn* ItemUnder(POINT screen) const {
        return bar_.ItemAt(ScreenToWindowPoint(bar_.Window().Handle(), screen));
    }

    int Neighbour(int step) const {
        std::vector<bool> canOpen;
        for (const auto& item : bar_.Items()) canOpen.push_back(!item->Caption.empty() && item->ItemEnabled);
        return SkinMenuLayout::NextBarItem(openIndex_, canOpen, step);
    }

    bool StartSwitch(int index) {
        if (index == openIndex_) return false;
        switching_ = true;
        switchTo_ = index;
        EndMenu();
        return true;
    }

    // The innermost open menu: from the bar's own menu down through the submenus shown now.
    // Asked of the popup windows themselves, whether the skin dresses them or not.
    HMENU InnermostMenu() const {
        std::vector<HMENU> shown = ShownMenus();
        HMENU innermost = submenu_;
        for (int depth = 0; depth < 16; ++depth) {
            HMENU deeper = nullptr;
            int count = GetMenuItemCount(innermost);
            for (int i = 0; i < count && !deeper; ++i) {
                HMENU submenu = GetSubMenu(innermost, i);
                if (submenu && std::find(shown.begin(), shown.end(), submenu) != shown.end()) deeper = submenu;
            }
            if (!deeper) break;
            innermost = deeper;
        }
        return innermost;
    }

    static TBarMenuTracking* current_;
    TSkinMenuBar& bar_;
    int openIndex_;
    HMENU submenu_;
    bool rightToLeft_;
    HHOOK hook_ = nullptr;
    POINT lastCursor_{};
    bool switching_ = false;
    int switchTo_ = -1;
};

TBarMenuTracking* TBarMenuTracking::current_ = nullptr;

}  // namespace

void TSkinMenuBar::OpenBarItem(TMenuBtn& item) {
    HWND window = window_.Handle();
    if (!item.ItemEnabled || menuOpen_) {
        item.MenuClosed();
        return;
    }
    if (item.HasCommand) PostMessageW(window, WM_COMMAND, item.Command, 0);
    if (!item.Submenu) {
        item.MenuClosed();
        return;
    }
    if (!FirstNTVersion()) MarkOwnerDrawn(item.Submenu);
    menuOpen_ = true;
    SkinMenuManager::SetMenuOpen(true);
    int target = -1;
    {
        TBarMenuTracking tracking(*this, item.Index, item.Submenu);
        // The menu opens with its first item selected, as the system's bar menus do from
        // the keyboard.
        PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
        POINT at = WindowToScreenPoint(window, {item.Bounds.left, item.Bounds.bottom});
        TrackPopupMenu(item.Submenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0,
                       window, nullptr);
        target = tracking.SwitchTarget();
    }
    menuOpen_ = false;
    SkinMenuManager::SetMenuOpen(false);
    item.MenuClosed();
    if (target < 0 || target >= static_cast<int>(items_.size())) return;
    // The press opens the neighbour's menu through the frame, as a click on it would.
    const RECT& next = items_[static_cast<size_t>(target)]->Bounds;
    POINT press = WindowToScreenPoint(window, {next.left + 1, next.top + 1});
    PostMessageW(window, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(press.x, press.y));
}

void TSkinMenuBar::OpenFirstItem() {
    for (const auto& item : items_) {
        if (!item->ItemEnabled || !item->Submenu) continue;
        POINT press = WindowToScreenPoint(window_.Handle(), {item->Bounds.left + 1, item->Bounds.top + 1});
        PostMessageW(window_.Handle(), WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(press.x, press.y));
        return;
    }
}
