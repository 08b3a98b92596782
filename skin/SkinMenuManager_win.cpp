// Until the skin manager is merged in, the menus keep the open mark themselves.
#include "skin/SkinMenuManager_win.h"

#include "skin/SkinFrameManager_win.h"

namespace SkinMenuManager {

namespace {
bool g_menuOpen = false;
}

void SetMenuOpen(bool open) { g_menuOpen = open; }
bool MenuOpen() { return g_menuOpen; }
void SetChildrenMaximized(bool maximized) { SkinFrameManager::SetChildrenMaximized(maximized); }

}  // namespace SkinMenuManager
