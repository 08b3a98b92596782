// The manager's window hook on the user-interface thread: it sees every window being
// created, activated and destroyed, dresses windows at their activation, hands popup menus to
// the menu painter, and lets go of dressed windows as they are destroyed.
#include "skin/frame/SkinForm_win.h"
#include "skin/draw/SkinWindowClass_win.h"
#include "skin/manager/SkinManager_win.h"
#include "skin/menus/SkinPopupMenu_win.h"

namespace {

// Scroll bars of their own would cover the drawn frame of a dressed window.
constexpr char kScrollBarClass[] = "scrollbar";

}  // namespace

LRESULT CALLBACK TSkinManage::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    TSkinManage* manager = Instance();
    HHOOK hook = manager ? manager->hook_ : nullptr;
    if (code >= 0 && manager && manager->running_ != rcDestroying) {
        auto window = reinterpret_cast<HWND>(wParam);
        try {
            switch (code) {
            case HCBT_CREATEWND:
                if (!manager->WindowCreating(window, *reinterpret_cast<CBT_CREATEWNDW*>(lParam))) return 1;
                break;
            case HCBT_DESTROYWND:
                manager->WindowDestroying(window);
                break;
            case HCBT_ACTIVATE:
                manager->WindowActivating(window);
                break;
            default:
                break;
            }
        } catch (...) {
            // Nothing may leave a hook; the window simply stays as it is.
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

// False refuses the window's creation.
bool TSkinManage::WindowCreating(HWND window, const CBT_CREATEWNDW& creation) {
    std::string className = LowerClassName(WindowClassName(window));
    HWND parent = creation.lpcs ? creation.lpcs->hwndParent : nullptr;
    if (className == kScrollBarClass && parent && FindSkinnedWindow(parent)) return false;
    if (className == kPopupMenuClass) HookPopupMenu(window);
    return true;
}

void TSkinManage::WindowDestroying(HWND window) {
    UnhookPopupMenu(window);
    RestoreAndFree(Release(window), true);
}

void TSkinManage::WindowActivating(HWND window) {
    if (running_ == rcIdle) running_ = rcRunning;
    SkinWindow(window);
}
