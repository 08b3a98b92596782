// Until the skin manager is merged in, a frame works on its own: no menu-bar menu is open, no
// multiple-document child is maximised, and no other skin lends its windows' icon.
#include "skin/SkinFrameManager_win.h"

namespace SkinFrameManager {

namespace {
bool g_childrenMaximized = false;
}

bool MenuOpen() { return false; }
bool ChildrenMaximized() { return g_childrenMaximized; }
void SetChildrenMaximized(bool maximized) { g_childrenMaximized = maximized; }
TSkinData* IconDonor() { return nullptr; }
void SkinWindow(HWND) {}
void UnskinWindow(HWND) {}

}  // namespace SkinFrameManager
