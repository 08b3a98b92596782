#include "skin/menus/SkinMenuManager_win.h"

#include "skin/manager/SkinManager_win.h"

namespace SkinMenuManager {

void SetMenuOpen(bool open) {
    if (TSkinManage* manager = TSkinManage::Instance()) manager->MenuOpen = open;
}

bool MenuOpen() {
    TSkinManage* manager = TSkinManage::Instance();
    return manager && manager->MenuOpen;
}

void SetChildrenMaximized(bool maximized) {
    if (TSkinManage* manager = TSkinManage::Instance()) manager->ChildrenMaximized = maximized;
}

}  // namespace SkinMenuManager
