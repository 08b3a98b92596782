// What a frame asks of the skin manager, answered by the process's manager (when the engine
// has been finalised there is none: no menu is open, nothing is maximised, nobody lends).
#include "skin/frame/SkinFrameManager_win.h"

#include "skin/stored/SkinData_win.h"
#include "skin/manager/SkinManager_win.h"

namespace SkinFrameManager {

bool MenuOpen() {
    TSkinManage* manager = TSkinManage::Instance();
    return manager && manager->MenuOpen;
}

bool ChildrenMaximized() {
    TSkinManage* manager = TSkinManage::Instance();
    return manager && manager->ChildrenMaximized;
}

void SetChildrenMaximized(bool maximized) {
    if (TSkinManage* manager = TSkinManage::Instance()) manager->ChildrenMaximized = maximized;
}

TSkinData* IconDonor() {
    TSkinManage* manager = TSkinManage::Instance();
    if (!manager) return nullptr;
    const std::vector<TSkinData*>& list = manager->SkinDataList();
    for (auto data = list.rbegin(); data != list.rend(); ++data)
        if ((*data)->SkinFormtype == sfMainform && !(*data)->SharedIcon().Empty()) return *data;
    return nullptr;
}

void SkinWindow(HWND window) {
    if (TSkinManage* manager = TSkinManage::Instance()) manager->SkinWindow(window);
}

void UnskinWindow(HWND window) {
    if (TSkinManage* manager = TSkinManage::Instance()) manager->UnskinWindow(window);
}

}  // namespace SkinFrameManager
