#pragma once
// The manager's side of the frames' and the drawn menus' links to it.
#include <windows.h>

#include "skin/frame/SkinFrameManager_win.h"
#include "skin/menus/SkinMenuManager_win.h"

class TSkinManage;

class TSkinManagerLinks : public TFrameManagerLink, public TMenuManagerLink {
public:
    // Registers itself with the frames and the menus; unregisters when freed.
    explicit TSkinManagerLinks(TSkinManage& manager);
    ~TSkinManagerLinks() override;
    TSkinManagerLinks(const TSkinManagerLinks&) = delete;
    TSkinManagerLinks& operator=(const TSkinManagerLinks&) = delete;

    bool MenuOpen() const override;
    void SetMenuOpen(bool open) override;
    bool ChildrenMaximized() const override;
    void SetChildrenMaximized(bool maximized) override;
    TSkinData* IconDonor() const override;
    void SkinWindow(HWND window) override;
    void UnskinWindow(HWND window) override;

private:
    TSkinManage& manager_;
};
