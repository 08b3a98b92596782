// The manager's answers to its frames and drawn menus, registered while the manager lives.
#include "skin/manager/SkinManagerLinks_win.h"

#include "skin/manager/SkinManager_win.h"
#include "skin/stored/SkinData_win.h"

TSkinManagerLinks::TSkinManagerLinks(TSkinManage& manager) : manager_(manager) {
    SkinFrameManager::Register(this);
    SkinMenuManager::Register(this);
}

TSkinManagerLinks::~TSkinManagerLinks() {
    if (SkinFrameManager::Registered() == this) SkinFrameManager::Register(nullptr);
    if (SkinMenuManager::Registered() == this) SkinMenuManager::Register(nullptr);
}

bool TSkinManagerLinks::MenuOpen() const { return manager_.MenuOpen; }
void TSkinManagerLinks::SetMenuOpen(bool open) { manager_.MenuOpen = open; }
bool TSkinManagerLinks::ChildrenMaximized() const { return manager_.ChildrenMaximized; }
void TSkinManagerLinks::SetChildrenMaximized(bool maximized) { manager_.ChildrenMaximized = maximized; }

TSkinData* TSkinManagerLinks::IconDonor() const {
    const std::vector<TSkinData*>& list = manager_.SkinDataList();
    for (auto data = list.rbegin(); data != list.rend(); ++data)
        if ((*data)->SkinFormtype == sfMainform && !(*data)->SharedIcon().Empty()) return *data;
    return nullptr;
}

void TSkinManagerLinks::SkinWindow(HWND window) { manager_.SkinWindow(window); }
void TSkinManagerLinks::UnskinWindow(HWND window) { manager_.UnskinWindow(window); }
