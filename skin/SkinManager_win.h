#pragma once
// The skin manager: one per process, made by the first skin-data component created at run
// time. It watches every window of the user-interface thread through a window hook, dresses
// each window when it is first activated (choosing the skin data by the kind of window), keeps
// the dressed windows and popup menus, and re-dresses them all after a skin switch.
#include <windows.h>

#include <map>
#include <memory>
#include <vector>

class TSkinData;
class TSkinForm;
class TSkinPopupMenu;

class TSkinManage {
public:
    // Actions posted by the skin-data components.
    enum TAction { saActivate = 1, saDeactivate = 2, saReskin = 3 };

    // The process's manager, made on first use; nullptr once it has been finalised.
    static TSkinManage* Instance();
    // Frees the manager (restoring every dressed window and removing its hook).
    static void Finalize();

    void AddSkinData(TSkinData& data);
    void RemoveSkinData(TSkinData& data);
    const std::vector<TSkinData*>& SkinDataList() const { return skinData_; }
    void PostSkinAction(int action);
    // A main-form component loaded a new skin: remember it for OnSkinChanged, discard every
    // dressed window's caption buttons, and re-skin 250 ms later.
    void AnnounceSkinChange(TSkinData& data);

    bool SkinWindow(HWND window);
    bool FindSkinnedWindow(HWND window) const;
    TSkinForm* SkinnedWindow(HWND window) const;
    void UnskinWindow(HWND window);
    void HookPopupMenu(HWND window);
    void UnhookPopupMenu(HWND window);

    bool SkinningOn() const { return skinningOn_; }
    int RunningCounter() const { return running_; }
    // Set while a drawn menu bar's menu is open (the frames' mouse-leave timers then rest).
    bool MenuOpen = false;
    // Set while the active child of a multiple-document frame is shown maximised.
    bool ChildrenMaximized = false;
    // The windows dressed so far, in the order they were dressed.
    std::vector<TSkinForm*> SkinnedWindows() const;

    ~TSkinManage();

private:
    TSkinManage();
    // (the implementation's own members)
    std::vector<TSkinData*> skinData_;
    bool skinningOn_ = false;
    int running_ = 0;
};
