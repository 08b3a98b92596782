#pragma once
// The skin manager: one per process, made by the first skin-data component created at run
// time. It watches every window of the user-interface thread through a window hook, dresses
// each window when it is first activated (choosing the skin data by the kind of window), keeps
// the dressed windows and popup menus, and re-dresses them all after a skin switch.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TForm;
class TSkinData;
class TSkinForm;
class TSkinManagerLinks;
class TSkinPopupMenu;

class TSkinManage {
public:
    // Dressed windows are components without an owner: freed the toolkit's way.
    struct TFreeSkinForm {
        void operator()(TSkinForm* skin) const;
    };
    using TSkinFormPtr = std::unique_ptr<TSkinForm, TFreeSkinForm>;

    // Actions posted by the skin-data components.
    enum TAction { saNone = 0, saActivate = 1, saDeactivate = 2, saReskin = 3 };
    // The running counter: no window activated yet, running, being destroyed.
    enum TRunning { rcIdle = 0, rcRunning = 1, rcDestroying = 4 };
    // How long a posted action waits, so that several loads end in one pass.
    static constexpr UINT kActionDelay = 250;

    // The process's manager, made on first use; nullptr once it has been finalised.
    static TSkinManage* Instance();
    // Made for a skin-data component created at run time: the existing manager, or a new one
    // (also after Finalize, when components are made again).
    static TSkinManage& ForSkinData();
    // Frees the manager (restoring every dressed window and removing its hook).
    static void Finalize();

    void AddSkinData(TSkinData& data);
    // Also restores the windows dressed from it: no window keeps a skin whose data is gone.
    void RemoveSkinData(TSkinData& data);
    const std::vector<TSkinData*>& SkinDataList() const { return skinData_; }
    void PostSkinAction(int action);
    // A main-form component loaded a new skin: remember it for OnSkinChanged, discard every
    // dressed window's caption buttons, and re-skin kActionDelay later.
    void AnnounceSkinChange(TSkinData& data);
    // The action the timer will carry out (saNone once carried out), and whether it waits.
    int PendingAction() const { return pendingAction_; }
    bool ActionTimerRunning() const { return timerRunning_; }
    // The main-form component whose OnSkinChanged the next re-skin pass fires (or nullptr).
    TSkinData* SkinDataToNotify() const { return notifyAfterReskin_; }

    bool SkinWindow(HWND window);
    bool FindSkinnedWindow(HWND window) const;
    TSkinForm* SkinnedWindow(HWND window) const;
    void UnskinWindow(HWND window);
    // Which skin data dresses a window of this class (nullptr: none is listed).
    TSkinData* ChooseSkinData(HWND window, const std::string& className) const;
    // Whether the class filter lets a window of this class be dressed.
    bool ClassMayBeSkinned(const std::string& className) const;

    void HookPopupMenu(HWND window);
    void UnhookPopupMenu(HWND window);

    bool SkinningOn() const { return skinningOn_; }
    int RunningCounter() const { return running_; }
    // The system's version, read when the manager was made (some painting depends on it).
    const OSVERSIONINFOW& SystemVersion() const { return systemVersion_; }
    // Set while a drawn menu bar's menu is open (the frames' mouse-leave timers then rest).
    bool MenuOpen = false;
    // Set while the active child of a multiple-document frame is shown maximised.
    bool ChildrenMaximized = false;
    // The windows dressed so far, in the order they were dressed.
    std::vector<TSkinForm*> SkinnedWindows() const;

    ~TSkinManage();
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

private:
    TSkinManage();

    // Window hook and action timer.
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK TimerWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    bool WindowCreating(HWND window, const CBT_CREATEWNDW& creation);
    void WindowDestroying(HWND window);
    void WindowActivating(HWND window);
    void CreateTimerWindow();
    void TimerFired();
    void ActivatePass();
    void DeactivatePass();
    void ReskinPass();
    void ShowPlain(HWND window);

    // The steps of SkinWindow.
    TForm* ApplicationForm(HWND window) const;
    bool PassesWindowRules(HWND window, TForm* form, const std::string& className) const;
    bool Dress(HWND window, TForm* form, TSkinData& skinData);
    // Takes a dressed window out of the lists; the caller restores or discards it.
    TSkinFormPtr Release(HWND window);
    void RestoreAndFree(TSkinFormPtr skin, bool windowGoing);
    void UnhookAllPopupMenus();
    void UnhookPopupMenus(const std::function<bool(const TSkinPopupMenu&)>& which);
    void RestoreAllWindows();

    std::vector<TSkinData*> skinData_;
    std::map<HWND, TSkinFormPtr> skinned_;
    std::vector<HWND> skinOrder_;  // the dressed windows in the order they were dressed
    HWND timerWindow_ = nullptr;
    bool timerRunning_ = false;
    int pendingAction_ = saNone;
    bool skinningOn_ = false;
    int running_ = rcIdle;
    bool activatePass_ = false;  // the child-window rule is relaxed while set
    TSkinData* notifyAfterReskin_ = nullptr;
    HHOOK hook_ = nullptr;
    OSVERSIONINFOW systemVersion_{};
    std::unique_ptr<TSkinManagerLinks> links_;  // the frames' and menus' way to the manager
};
