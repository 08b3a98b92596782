// The skin manager's life, its list of skin data, and the actions the components post: a
// one-shot timer on a hidden window of its own carries them out kActionDelay later, so that loads
// made one after the other end in a single pass over the windows.
#include "skin/manager/SkinManager_win.h"
#include "skin/manager/SkinManagerLinks_win.h"

#include <algorithm>

#include "skin/stored/SkinData_win.h"
#include "skin/frame/SkinForm_win.h"
#include "skin/menus/SkinPopupMenu_win.h"
#include "toolkit/Application_win.h"
#include "toolkit/Form_win.h"

namespace {

constexpr wchar_t kTimerWindowClass[] = L"TSkinManageTimer";
constexpr UINT_PTR kActionTimer = 1;

std::unique_ptr<TSkinManage>& ManagerSlot() {
    static std::unique_ptr<TSkinManage> manager;
    return manager;
}

// Finalize ends the engine: no late caller brings a manager back, only a new component.
bool& Finalized() {
    static bool finalized = false;
    return finalized;
}

}  // namespace

void TSkinManage::TFreeSkinForm::operator()(TSkinForm* skin) const { skin->Free(); }

TSkinManage* TSkinManage::Instance() {
    if (!ManagerSlot() && !Finalized()) ForSkinData();
    return ManagerSlot().get();
}

TSkinManage& TSkinManage::ForSkinData() {
    Finalized() = false;
    if (!ManagerSlot()) ManagerSlot().reset(new TSkinManage());
    return *ManagerSlot();
}

void TSkinManage::Finalize() {
    Finalized() = true;
    // Out of the slot first, so that nothing the destructor sets off finds a half-gone manager.
    std::unique_ptr<TSkinManage> manager = std::move(ManagerSlot());
    manager.reset();
}

// The optional scroll-bar library of other programs is not part of this one.
TSkinManage::TSkinManage() : links_(std::make_unique<TSkinManagerLinks>(*this)) {
    CreateTimerWindow();
    systemVersion_.dwOSVersionInfoSize = sizeof systemVersion_;
    GetVersionExW(&systemVersion_);
    hook_ = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
}

TSkinManage::~TSkinManage() {
    links_.reset();  // from here on the frames and menus find no manager
    running_ = rcDestroying;
    if (timerWindow_) DestroyWindow(timerWindow_);
    timerWindow_ = nullptr;
    timerRunning_ = false;
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    UnhookAllPopupMenus();
    RestoreAllWindows();
}

void TSkinManage::CreateTimerWindow() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    if (!GetClassInfoW(instance, kTimerWindowClass, &windowClass)) {
        windowClass.lpfnWndProc = TimerWindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kTimerWindowClass;
        RegisterClassW(&windowClass);
    }
    timerWindow_ = CreateWindowExW(0, kTimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
}

LRESULT CALLBACK TSkinManage::TimerWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kActionTimer) {
        KillTimer(window, kActionTimer);
        TSkinManage* manager = ManagerSlot().get();
        if (manager && manager->timerWindow_ == window) {
            try {
                manager->TimerFired();
            } catch (...) {
                HandleUncaughtException(nullptr);
            }
        }
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

void TSkinManage::AddSkinData(TSkinData& data) {
    if (std::find(skinData_.begin(), skinData_.end(), &data) == skinData_.end()) skinData_.push_back(&data);
}

void TSkinManage::RemoveSkinData(TSkinData& data) {
    skinData_.erase(std::remove(skinData_.begin(), skinData_.end(), &data), skinData_.end());
    if (notifyAfterReskin_ == &data) notifyAfterReskin_ = nullptr;
    std::vector<HWND> dressedFromIt;
    for (HWND window : skinOrder_)
        if (&skinned_.at(window)->SkinData() == &data) dressedFromIt.push_back(window);
    for (HWND window : dressedFromIt) UnskinWindow(window);
    UnhookPopupMenus([&](const TSkinPopupMenu& popup) { return &popup.SkinData() == &data; });
}

void TSkinManage::PostSkinAction(int action) {
    pendingAction_ = action;
    if (running_ != rcIdle) {
        if (running_ == rcDestroying || !timerWindow_) return;
        timerRunning_ = SetTimer(timerWindow_, kActionTimer, kActionDelay, nullptr) != 0;
        return;
    }
    // No window has been activated yet: the first activation dresses it anyway.
    if (action == saActivate) skinningOn_ = true;
    if (action == saDeactivate) skinningOn_ = false;
    pendingAction_ = saNone;
}

void TSkinManage::AnnounceSkinChange(TSkinData& data) {
    notifyAfterReskin_ = &data;
    for (TSkinForm* skin : SkinnedWindows()) skin->DiscardCaptionButtons();
    PostSkinAction(saReskin);
}

void TSkinManage::TimerFired() {
    timerRunning_ = false;
    int action = pendingAction_;
    pendingAction_ = saNone;
    switch (action) {
    case saActivate:
        ActivatePass();
        break;
    case saDeactivate:
        DeactivatePass();
        break;
    case saReskin:
        ReskinPass();
        break;
    default:
        break;
    }
}

// Forms from the last to the first; a form whose window does not exist yet is dressed when
// it is first activated.
void TSkinManage::ActivatePass() {
    skinningOn_ = true;
    if (!Application) return;
    std::vector<TForm*> forms = Application->Forms();
    activatePass_ = true;
    for (auto form = forms.rbegin(); form != forms.rend(); ++form) {
        const std::vector<TForm*>& live = Application->Forms();
        if (std::find(live.begin(), live.end(), *form) == live.end() || !(*form)->HandleAllocated()) continue;
        SkinWindow((*form)->Handle());
    }
    activatePass_ = false;
}

void TSkinManage::DeactivatePass() {
    skinningOn_ = false;
    std::vector<HWND> windows = skinOrder_;
    for (auto window = windows.rbegin(); window != windows.rend(); ++window) ShowPlain(*window);
}

void TSkinManage::ShowPlain(HWND window) {
    if (!FindSkinnedWindow(window)) return;
    UnskinWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Every window first takes the new skin's sizes and caption buttons, then all are refreshed,
// so no window repaints while another still holds the old skin. A window whose skin did not
// load goes back to its plain frame.
void TSkinManage::ReskinPass() {
    std::vector<HWND> windows = skinOrder_;
    for (HWND window : windows) {
        TSkinForm* skin = SkinnedWindow(window);
        if (skin && skin->SkinData().NotReady()) {
            ShowPlain(window);
        } else if (skin) {
            skin->ApplySkinData();
        }
    }
    for (HWND window : windows)
        if (TSkinForm* skin = SkinnedWindow(window)) skin->RefreshAfterSkinChange();
    TSkinData* notify = notifyAfterReskin_;
    notifyAfterReskin_ = nullptr;
    if (notify && notify->OnSkinChanged) notify->OnSkinChanged(*notify);
}

std::vector<TSkinForm*> TSkinManage::SkinnedWindows() const {
    std::vector<TSkinForm*> windows;
    windows.reserve(skinOrder_.size());
    for (HWND window : skinOrder_) windows.push_back(skinned_.at(window).get());
    return windows;
}
